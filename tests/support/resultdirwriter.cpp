#include "support/resultdirwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool ResultDirWriter::make(const QString& root, const QStringList& entries) {
    for (const QString& entry : entries) {
        const QString path = root + QLatin1Char('/') + entry;
        if (entry.endsWith(QLatin1Char('/'))) {
            if (!QDir().mkpath(path)) {
                return false;
            }
            continue;
        }
        if (!QDir().mkpath(QFileInfo(path).path())) {
            return false;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
    }
    return true;
}
