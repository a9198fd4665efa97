#include "core/tools.h"

#include <QDir>
#include <QRegExp>

QString Tools::dirOfPath(const QString& path) {
    // A separator at index 0 does not count: '/file' has no directory part of its own.
    for (int i = path.size() - 1; i >= 1; --i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) {
            return path.left(i);
        }
    }
    return QDir::homePath();
}

QString Tools::shortPath(QString path) {
    QRegExp rx(QStringLiteral("/([^/]+)/([^/]+)$"), Qt::CaseSensitive, QRegExp::RegExp);
    if (rx.indexIn(path) < 0) {
        return path;
    }
    const QString whole = rx.cap(0);
    if (whole.size() > 34) {
        return QStringLiteral("../%1/\n  /%2").arg(rx.cap(1), rx.cap(2));
    }
    return whole;
}

QString Tools::lastPathPart(const QString& path) {
    return path.split(QLatin1Char('/')).last();
}
