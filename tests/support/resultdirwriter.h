#ifndef RESULTDIRWRITER_H
#define RESULTDIRWRITER_H

#include <QString>
#include <QStringList>

// Builds result-directory trees for tests: each entry is a path relative to the root; an entry ending
// in "/" is a directory, any other an empty file (its parent directories are made as needed).
namespace ResultDirWriter {
bool make(const QString& root, const QStringList& entries);
} // namespace ResultDirWriter

#endif // RESULTDIRWRITER_H
