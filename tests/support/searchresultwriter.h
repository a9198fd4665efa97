#ifndef SEARCHRESULTWRITER_H
#define SEARCHRESULTWRITER_H

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

// Writes search-result text files for tests: per DM block a "sigma=" line, a "disp=" line and one number
// line of the series (numbers in the shortest form that reads back exactly).
class SearchResultWriter {
public:
    using Block = QPair<QString, QVector<double>>; // DM text, series

    static QByteArray text(const QVector<Block>& blocks);
    // Writes bytes to path, creating the missing directories; false when that fails.
    static bool write(const QString& path, const QByteArray& bytes);
    static bool write(const QString& path, const QVector<Block>& blocks) { return write(path, text(blocks)); }
};

#endif // SEARCHRESULTWRITER_H
