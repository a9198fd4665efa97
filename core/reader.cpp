#include "core/reader.h"

#include "core/busyguard.h"
#include "core/desktop.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr qint64 chunkBytes = 4194304;
// Passport lines are a few hundred bytes; anything longer is damage and is cut here.
constexpr qint64 maxLineBytes = 65536;
constexpr qint64 timeLimitMs = qint64(3600) * 1000;
// Points copied per tile: long enough runs per series, short enough for the source to stay in cache.
constexpr qint64 tilePoints = 64;

Reader::Clock readerClock = nullptr;

qint64 now() {
    return readerClock ? readerClock() : QDateTime::currentMSecsSinceEpoch();
}

bool haveWindow() {
    return !QApplication::topLevelWidgets().isEmpty();
}

// One line of at most maxLineBytes bytes; the rest of a longer line is skipped. Empty at the end of file.
QByteArray readBoundedLine(QIODevice& f) {
    QByteArray line = f.readLine(maxLineBytes);
    if (line.isEmpty() || line.endsWith('\n')) {
        return line;
    }
    QByteArray rest = line;
    while (!rest.isEmpty() && !rest.endsWith('\n')) {
        rest = f.readLine(maxLineBytes);
    }
    line.append('\n');
    return line;
}

int toInt(const QString& s) {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

double toDouble(const QString& s) {
    bool ok = false;
    const double v = s.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

// "modulus" / "modules": items split at single blanks; the first item is the first module's number.
void takeModules(Data& d, const QString& value) {
    const QStringList items = value.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    d.modules = items.size();
    d.firstModule = toInt(items.first());
}

void printToStdout(const char* format, const QString& path) {
    std::printf(format, path.toLocal8Bit().constData());
    std::fflush(stdout);
}

} // namespace

Reader::Reader(QObject* parent) : QObject(parent) {}

void Reader::setClock(Clock c) {
    readerClock = c;
}

int Reader::readHeaderLineCount(QByteArray& firstLine) {
    if (firstLine.endsWith('\n')) {
        firstLine.chop(1);
    }
    const int blank = firstLine.lastIndexOf(' ');
    const QByteArray text = blank >= 1 ? firstLine.mid(blank) : firstLine;
    bool ok = false;
    const int h = text.trimmed().toInt(&ok, 10);
    return ok ? h : 0;
}

Data Reader::readFile(const QString& path, bool headerOnly) {
    Data rec;
    rec.filePath = path;
    rec.fileName = QFileInfo(path).fileName();

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return rec;
    }

    QByteArray first = readBoundedLine(f);
    const int lineCount = readHeaderLineCount(first);
    QMap<QString, QString> keys;
    for (int i = 1; i < lineCount; ++i) {
        QByteArray raw = readBoundedLine(f);
        if (raw.isEmpty()) {
            break;
        }
        const int nul = raw.indexOf('\0');
        if (nul >= 0) {
            raw.truncate(nul);
        }
        QString line = QString::fromUtf8(raw);
        if (line.endsWith(QLatin1Char('\n'))) {
            line.chop(1);
        }
        // A passport saved with CR LF line ends: the CR is no part of the value (the date and time of
        // day are taken from the value's last characters).
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        line.replace(QLatin1Char('\t'), QLatin1Char(' '));
        const int blank = line.indexOf(QLatin1Char(' '));
        if (blank < 0) {
            keys.insert(line, QString());
            continue;
        }
        QString value = line.mid(blank + 1);
        int lead = 0;
        while (lead < value.size() && value.at(lead) == QLatin1Char(' ')) {
            ++lead;
        }
        keys.insert(line.left(blank), value.mid(lead));
    }

    rec.npoints = toInt(keys.value("npoints"));
    if (keys.contains("nbands")) {
        const qint64 n = qint64(toInt(keys.value("nbands"))) + 1;
        rec.channels = n > std::numeric_limits<int>::max() ? 0 : int(n);
    } else if (keys.contains("fbands")) {
        rec.channels = keys.value("fbands").split(QLatin1Char(' '), Qt::KeepEmptyParts).size() + 1;
    } else if (keys.contains("channels")) {
        rec.channels = toInt(keys.value("channels"));
    } else {
        qDebug() << "Error! No channels in file!";
        rec.npoints = 0;
        return rec;
    }
    if (keys.contains("modulus")) {
        takeModules(rec, keys.value("modulus"));
    } else if (keys.contains("modules")) {
        takeModules(rec, keys.value("modules"));
    } else {
        qDebug() << "Error! No modules in file!";
        rec.npoints = -1;
        return rec;
    }
    rec.rays = keys.contains("rays") ? toInt(keys.value("rays")) : 8;

    QDate date = QDate::fromString(keys.value("date_begin").right(10), QStringLiteral("dd.MM.yyyy"));
    const QString timeBegin = keys.value("time_begin");
    QTime time = QTime::fromString(timeBegin.right(8).remove(QLatin1Char(' ')), QStringLiteral("h:mm:ss"));
    if (!timeBegin.contains(QLatin1String("UTC")) && date.isValid() && time.isValid()) {
        const QDateTime moved = QDateTime(date, time, Qt::UTC).addSecs(-10800);
        date = moved.date();
        time = moved.time();
    }
    if (keys.contains("star_time")) {
        time = QTime::fromString(keys.value("star_time"), QStringLiteral("HH:mm:ss"));
    }
    if (date.isValid() && time.isValid() && !keys.contains("stairs_names")) {
        rec.startDateTime = QDateTime(date, time, Qt::UTC);
    }

    rec.nativeDatetime = keys.value("native_datetime");
    if (rec.nativeDatetime.isEmpty()) {
        rec.nativeDatetime = rec.fileName;
    }
    for (const QString& band : keys.value("fbands").split(QLatin1Char(' '), Qt::KeepEmptyParts)) {
        rec.fbands << toDouble(band);
    }
    rec.tresolution = toDouble(keys.value("tresolution"));
    rec.tres = rec.tresolution / 1000;
    rec.factor = 0.89;

    // Real passports never ask for these; arrays cannot be built from them.
    if (rec.npoints < 0 || rec.channels <= 0 || rec.rays <= 0 || rec.modules <= 0) {
        qDebug() << "Error! Impossible counts in file! npoints" << rec.npoints << "modules" << rec.modules
                 << "channels" << rec.channels << "rays" << rec.rays;
        rec.npoints = 0;
        return rec;
    }
    if (headerOnly) {
        return rec;
    }

    rec.mark = -1.0;
    rec.notOwner = false;

    // Never allocate more points than the file can supply: a passport may claim anything.
    qint64 floatsPerPoint = 0;
    qint64 bytesPerPoint = 0;
    const bool overflow =
        __builtin_mul_overflow(qint64(rec.modules), qint64(rec.channels), &floatsPerPoint) ||
        __builtin_mul_overflow(floatsPerPoint, qint64(rec.rays), &floatsPerPoint) ||
        __builtin_mul_overflow(floatsPerPoint, qint64(4), &bytesPerPoint);
    if (f.isSequential()) {
        qDebug() << "Error! Not a regular file:" << path;
        rec.npoints = 0;
        return rec;
    }
    const qint64 available = qMax<qint64>(0, f.size() - f.pos());
    const qint64 fits = overflow ? 0 : available / bytesPerPoint;
    bool shortFile = false;
    if (rec.npoints > fits) {
        qDebug() << "Error! File holds" << fits << "points, passport says" << rec.npoints;
        rec.npoints = int(fits);
        shortFile = true;
    }
    // Every sample is written below (or zeroed when the file ends early), so no zero-fill pass first.
    if (rec.npoints > 0 && !allocSamples(rec, false)) {
        qDebug() << "Error! Cannot allocate samples:" << rec.npoints << "points of" << floatsPerPoint;
        rec.npoints = 0;
        return rec;
    }

    BusyGuard busy;
    qint64 start = now();
    const qint64 perPoint = rec.npoints > 0 ? floatsPerPoint : 0;
    std::vector<float*> dst(size_t(perPoint), nullptr);
    {
        size_t i = 0;
        for (int m = 0; m < rec.modules && perPoint > 0; ++m) {
            for (int r = 0; r < rec.rays; ++r) {
                for (int c = 0; c < rec.channels; ++c) {
                    dst[i++] = rec.samples[m][c][r];
                }
            }
        }
    }

    // A float split across two reads is carried to the next chunk, never dropped.
    std::vector<char> buffer(size_t(rec.npoints > 0 ? chunkBytes + 4 : 0));
    qint64 bytesInBuffer = 0;
    qint64 have = 0; // whole floats in the buffer
    qint64 at = 0;   // next float to take
    auto refill = [&]() -> bool {
        const qint64 carry = bytesInBuffer - have * 4;
        if (carry > 0) {
            std::memmove(buffer.data(), buffer.data() + have * 4, size_t(carry));
        }
        const qint64 got = f.read(buffer.data() + carry, chunkBytes);
        bytesInBuffer = carry + qMax<qint64>(got, 0);
        have = bytesInBuffer / 4;
        at = 0;
        return have > 0;
    };

    bool ranOut = false;
    for (int p = 0; p < rec.npoints;) {
        // Whole points already in the buffer are copied a tile at a time: each series then receives a
        // run of consecutive points instead of one float per point, which keeps the writes sequential.
        const qint64 whole = qMin<qint64>((have - at) / qMax<qint64>(perPoint, 1), rec.npoints - p);
        if (whole > 0) {
            const int n = int(qMin<qint64>(whole, tilePoints));
            for (int j = p; j < p + n; ++j) {
                if (j % 1000 == 0) {
                    emit progress(int(qint64(j) * 100 / rec.npoints));
                }
                BusyGuard::processEvents();
            }
            const char* src = buffer.data() + at * 4;
            const qint64 stride = perPoint * 4;
            for (qint64 k = 0; k < perPoint; ++k) {
                float* out = dst[size_t(k)] + p;
                const char* in = src + k * 4;
                for (int j = 0; j < n; ++j) {
                    out[j] = qFromLittleEndian<float>(in + j * stride);
                }
            }
            at += n * perPoint;
            p += n;
            continue;
        }

        // A point split across two chunks goes float by float.
        if (p % 1000 == 0) {
            emit progress(int(qint64(p) * 100 / rec.npoints));
        }
        BusyGuard::processEvents();
        qint64 i = 0;
        while (i < perPoint) {
            if (at == have) {
                if (!refill()) {
                    ranOut = true;
                    break;
                }
                if (now() - start > timeLimitMs) {
                    if (haveWindow()) {
                        Desktop::instance()->information(
                            nullptr, QStringLiteral("Very slow reading"),
                            QStringLiteral("You just can't live like that.\nThis warning won't show again."));
                        start += qint64(1000000000) * 1000;
                    } else {
                        printToStdout("File %s is dead. More than 60mins to read. Aborting\n", path);
                        freeSamples(rec);
                        return Data();
                    }
                }
            }
            const qint64 n = qMin(perPoint - i, have - at);
            const char* src = buffer.data() + at * 4;
            float* const* out = dst.data() + i;
            for (qint64 k = 0; k < n; ++k) {
                out[k][p] = qFromLittleEndian<float>(src + k * 4);
            }
            i += n;
            at += n;
        }
        if (ranOut) {
            // Samples the file did not supply are zero, never left over from earlier allocations.
            for (qint64 k = 0; k < perPoint; ++k) {
                float* out = dst[size_t(k)];
                std::fill(out + (k < i ? p + 1 : p), out + rec.npoints, 0.0f);
            }
            shortFile = true;
            break;
        }
        ++p;
    }

    if (shortFile) {
        if (haveWindow()) {
            Desktop::instance()->information(nullptr, QStringLiteral("Data is heavily damaged"),
                                             QStringLiteral("File size is incorrect, data is broken, "
                                                            "showing what I can."));
            return rec;
        }
        printToStdout("File %s has wrong size. Ignoring it.\n", path);
        freeSamples(rec);
        return Data();
    }
    emit progress(100);
    return rec;
}
