#include "directory/views/harmonics3sigmafile.h"

#include "core/busyguard.h"
#include "core/naturalorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace {

// A record's line as one entry of the lines already read: no field holds a tab.
QString seenEntry(const QString& key, const QString& lineText) {
    return key + QLatin1Char('\t') + lineText;
}

// readLines with `seen` holding every line the records of `out` have.
void readInto(QIODevice& device, double k, const QStringList& years, Harmonics3sigma& out, qint64& line,
              qint64 estimate, const std::function<void(int)>& progress, QSet<QString>& seen) {
    while (!device.atEnd()) {
        if (line % 100 == 0 && estimate > 0 && progress) {
            progress(int(line * 100 / estimate));
            BusyGuard::processEvents();
        }
        ++line;
        QString text = QString::fromLocal8Bit(device.readLine());
        text.remove(QLatin1Char('\n'));
        text.remove(QLatin1Char('\r'));
        text.remove(QLatin1Char(' '));
        text.replace(QLatin1String("\t*"), QLatin1String("\t"));
        const QStringList fields = text.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (fields.size() < 7) {
            continue;
        }
        const QString& descriptor = fields[1];
        const int dm = fields[2].toInt();
        const int harmonic = fields[3].toInt();
        const double snr = fields[4].toDouble();
        const QString& fileName = fields[6];
        if (!years.isEmpty() && !years.contains(fileName.mid(4, 2))) {
            continue;
        }
        if (harmonic <= 0 || !(k <= snr)) {
            continue;
        }
        const QString key = Sum3sigmaRecord::key(harmonic, dm, descriptor);
        const QString lineText =
            QStringLiteral("%1   %2   %3\n").arg(fileName, descriptor, QString::number(snr, 'f', 2));
        auto found = out.records.find(key);
        const QString entry = seenEntry(key, lineText);
        if (found == out.records.end()) {
            if (!out.withNulls.contains(harmonic)) {
                out.harmonics.append(harmonic);
                out.withNulls.insert(harmonic, descriptor.mid(5, 1).toInt() != 0);
            }
            Sum3sigmaRecord record;
            record.dispersion = dm;
            record.snr = snr;
            record.lines.append(lineText);
            out.records.insert(key, record);
            seen.insert(entry);
        } else if (!seen.contains(entry)) {
            found->snr += snr;
            found->lines.append(lineText);
            seen.insert(entry);
        }
    }
}

} // namespace

void Harmonics3sigmaFile::readLines(QIODevice& device, double k, const QStringList& years,
                                    Harmonics3sigma& out, qint64& line, qint64 estimate,
                                    const std::function<void(int)>& progress) {
    QSet<QString> seen;
    for (auto it = out.records.cbegin(); it != out.records.cend(); ++it) {
        for (const QString& lineText : it->lines) {
            seen.insert(seenEntry(it.key(), lineText));
        }
    }
    readInto(device, k, years, out, line, estimate, progress, seen);
}

QString Harmonics3sigmaFile::read(const QString& dir, double k, const QStringList& years,
                                  Harmonics3sigma& out, const std::function<void(int)>& progress) {
    if (!(k >= 3)) {
        return QStringLiteral("Введите коэффициент sum3sigma >=3");
    }
    const QDir directory(dir);
    if (dir.isEmpty() || !directory.exists()) {
        return dir + QStringLiteral("does not exist!");
    }
    QFileInfoList files;
    for (const QFileInfo& info : directory.entryInfoList(QDir::Files, QDir::NoSort)) {
        if (info.fileName().left(16) == QLatin1String("harmonics_3sigma")) {
            files.append(info);
        }
    }
    NaturalOrder::sortByFileName(files);
    if (files.isEmpty()) {
        return QStringLiteral("В этой директории нет файлов harmonics_3sigma");
    }
    const BusyGuard busy;
    out = Harmonics3sigma();
    qint64 bytes = 0;
    for (const QFileInfo& info : files) {
        bytes += info.size();
    }
    const qint64 estimate = bytes / 70;
    qint64 line = 0;
    QSet<QString> seen; // over all files: a line repeated in another file counts once too
    for (const QFileInfo& info : files) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        readInto(file, k, years, out, line, estimate, progress, seen);
    }
    if (out.harmonics.isEmpty()) {
        if (years.size() == 1) {
            return QStringLiteral("Для отмеченного года не найдено ни одной гармоники");
        }
        if (years.isEmpty()) {
            return QStringLiteral("В файлах harmonics_3sigma.txt не найдено ни одной гармоники");
        }
        return QStringLiteral("Для отмеченных годов не найдено ни одной гармоники");
    }
    std::sort(out.harmonics.begin(), out.harmonics.end());
    return QString();
}
