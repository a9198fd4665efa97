#include "native/greendates.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

namespace {
GreenDates::Clock installedClock = nullptr;
}

GreenDates::List GreenDates::read(const QString& path) {
    List list;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "No file " << path;
        return list;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString line;
    while (in.readLineInto(&line)) {
        line = line.trimmed();
        if (!line.startsWith(QLatin1String("20"))) {
            continue;
        }
        const QStringList parts = line.split(QLatin1Char(' '));
        const QString& date = parts.at(0);
        // A date alone has no value: white, as a value that is not a number.
        const QString value = parts.size() > 1 ? parts.at(1) : QString();
        list.values.insert(date, value.toInt());
        // Only a value that is there ends the fields: after an empty one ("date  1") the rest is no
        // comment, or marking the date green would write "date 1 1".
        const int commentStart = date.size() + 1 + value.size() + 1;
        if (parts.size() > 2 && !value.isEmpty() && commentStart <= line.size()) {
            list.comments.insert(date, line.mid(commentStart));
        } else {
            list.comments.remove(date);
        }
    }
    return list;
}

QStringList GreenDates::greenSorted(const QHash<QString, int>& values) {
    QStringList dates;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (it.value() == 1) {
            dates << it.key();
        }
    }
    std::sort(dates.begin(), dates.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return dates;
}

GreenDates::Written GreenDates::write(const QString& path, const QHash<QString, int>& values,
                                      const QHash<QString, QString>& comments, int* count) {
    if (count) {
        *count = 0;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return Written::Failed;
    }
    QByteArray text;
    int written = 0;
    if (values.isEmpty()) {
        text = "no green dates";
    } else {
        for (const QString& date : greenSorted(values)) {
            const QString comment = comments.value(date);
            const QString line = comment.isEmpty() ? QStringLiteral("%1 1\n").arg(date)
                                                   : QStringLiteral("%1 1 %2\n").arg(date, comment);
            text += line.toUtf8();
            ++written;
        }
    }
    // A short write (a full disk, a file-size limit) can pass unreported until the buffer is flushed,
    // so the flush is checked before the new file replaces the old one.
    if (file.write(text) != text.size() || !file.flush() || !file.commit()) {
        return Written::Failed;
    }
    if (count) {
        *count = written;
    }
    return values.isEmpty() ? Written::NoEntries : Written::Dates;
}

QString GreenDates::copyDirName(const QString& dirPath, const QDateTime& time) {
    return QDir::cleanPath(dirPath) + QStringLiteral("_green_") +
           time.toString(QStringLiteral("yyyy.MM.dd_hhmm"));
}

GreenDates::Copied GreenDates::copyFiles(const QString& dir, const QHash<QString, int>& values,
                                         const QHash<QString, QString>& filePaths) {
    Copied result;
    result.dirCreated = QDir().mkpath(dir);
    if (!result.dirCreated) {
        return result;
    }
    for (const QString& date : greenSorted(values)) {
        if (!filePaths.contains(date)) {
            continue;
        }
        const QString source = filePaths.value(date);
        const QString target = dir + QLatin1Char('/') + QFileInfo(source).fileName();
        // QFile::copy never replaces an existing target.
        if (QFile::copy(source, target)) {
            ++result.count;
        } else {
            result.failed << source;
        }
    }
    return result;
}

void GreenDates::setClock(Clock c) {
    installedClock = c;
}

QDateTime GreenDates::now() {
    return installedClock ? installedClock() : QDateTime::currentDateTime();
}
