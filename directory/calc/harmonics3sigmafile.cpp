#include "directory/calc/harmonics3sigmafile.h"

#include "core/busyguard.h"
#include "core/filebytes.h"
#include "core/naturalorder.h"
#include "core/numberreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

// A record's line as one entry of the lines already read: no field holds a tab.
QString seenEntry(const QString& key, const QString& lineText) {
    return key + QLatin1Char('\t') + lineText;
}

// One line without its blanks and line ends, a star right after a tab dropped, split at tabs with empty
// fields left out: at most `most` fields into field/fieldEnd (pointing into `clean`, which is reused),
// their count returned. A line of other scripts goes through the toolkit's text, so that a blank between
// two broken bytes still parts them as it did.
int splitLine(const char* begin, const char* end, QByteArray& clean, const char** field,
              const char** fieldEnd, int most) {
    if (NumberReader::hasNonAscii(begin, end)) {
        QString text = NumberReader::text(begin, end);
        text.remove(QLatin1Char('\n'));
        text.remove(QLatin1Char('\r'));
        text.remove(QLatin1Char(' '));
        text.replace(QLatin1String("\t*"), QLatin1String("\t"));
        const QStringList parts = text.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        const int n = std::min(int(parts.size()), most);
        clean.clear();
        QVector<int> ends;
        for (int i = 0; i < n; ++i) {
            clean += parts[i].toUtf8();
            ends.append(clean.size());
        }
        for (int i = 0; i < n; ++i) {
            field[i] = clean.constData() + (i == 0 ? 0 : ends[i - 1]);
            fieldEnd[i] = clean.constData() + ends[i];
        }
        return n;
    }
    return NumberReader::tabFields(begin, end, clean, true, field, fieldEnd, most);
}

// readLines with `seen` holding every line the records of `out` have.
void readInto(QIODevice& device, double k, const QStringList& years, Harmonics3sigma& out, qint64& line,
              qint64 estimate, const std::function<void(int)>& progress, QSet<QString>& seen) {
    const FileBytes bytes(device);
    QByteArray clean;
    qint64 nonFinite = 0;
    NumberReader::forEachLine(bytes.begin(), bytes.end(), [&](const char* text, const char* textEnd) {
        if (line % 100 == 0 && estimate > 0 && progress) {
            progress(int(line * 100 / estimate));
            BusyGuard::processEvents();
        }
        ++line;
        const char* field[7];
        const char* fieldEnd[7];
        if (splitLine(text, textEnd, clean, field, fieldEnd, 7) < 7) {
            return;
        }
        const int harmonic = NumberReader::toInt(field[3], fieldEnd[3]);
        const double snr = NumberReader::finiteOr0(NumberReader::toDouble(field[4], fieldEnd[4]), nonFinite);
        const QString fileName = NumberReader::text(field[6], fieldEnd[6]);
        if (!years.isEmpty() && !years.contains(fileName.mid(4, 2))) {
            return;
        }
        if (harmonic <= 0 || !(k <= snr)) {
            return;
        }
        const QString descriptor = NumberReader::text(field[1], fieldEnd[1]);
        const int dm = NumberReader::toInt(field[2], fieldEnd[2]);
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
    });
    NumberReader::reportNonFinite(nonFinite, FileBytes::nameOf(device));
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
        // Carriage returns are dropped with the blanks of every line.
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
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
