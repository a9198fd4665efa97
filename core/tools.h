#ifndef TOOLS_H
#define TOOLS_H

#include <QString>
#include <QStringList>
#include <QVector>

// The application's toolbox: static functions only, grouped in families. Each family is implemented
// in its own core/tools_<family>.cpp.
class Tools {
public:
    Tools() = delete;

    // --- General helpers: time, numbers, text and lists (tools_general.cpp) ---

    // --- Result-directory helpers (tools_results.cpp) ---

    // --- Source names and declinations (tools_names.cpp) ---

    // --- Statistics and smoothing of series (tools_stats.cpp) ---

    // --- Calibration-step removal (tools_step.cpp) ---

    // --- Paths (tools_paths.cpp) ---
    static QString dirOfPath(const QString& path);
    static QString shortPath(QString path);
    static QString lastPathPart(const QString& path);
};

#endif // TOOLS_H
