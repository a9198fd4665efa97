#include "support/searchresultwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray SearchResultWriter::text(const QVector<Block>& blocks) {
    QByteArray out;
    for (const Block& b : blocks) {
        out += "sigma=1.5\n";
        out += "disp=" + b.first.toUtf8() + '\n';
        for (int i = 0; i < b.second.size(); ++i) {
            if (i > 0) {
                out += ' ';
            }
            out += QByteArray::number(b.second[i], 'g', 17);
        }
        out += '\n';
    }
    return out;
}

bool SearchResultWriter::write(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
