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
#include <memory>
#include <vector>

namespace {

constexpr qint64 chunkBytes = 4194304;
// The chunk of a series read: a few reads per file and little memory per worker. Freed when the worker
// ends, it also leaves the allocator serving blocks up to its size from the heap instead of mapping
// fresh pages for each, as the 4 MiB chunk of readFile does; the views' series vectors are that size.
constexpr qint64 seriesChunkBytes = 1048576;
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

// The time limit has passed: with a window the user is told once and the read goes on (true); without
// one the file is given up (false).
bool goOnWhenSlow(const QString& path) {
    if (haveWindow()) {
        Desktop::instance()->information(
            nullptr, QStringLiteral("Very slow reading"),
            QStringLiteral("You just can't live like that.\nThis warning won't show again."));
        return true;
    }
    printToStdout("File %s is dead. More than 60mins to read. Aborting\n", path);
    return false;
}

// The file ended early: with a window the user is told and what was read is kept (true); without one
// the file is given up (false).
bool keepShortFile(const QString& path) {
    if (haveWindow()) {
        Desktop::instance()->information(nullptr, QStringLiteral("Data is heavily damaged"),
                                         QStringLiteral("File size is incorrect, data is broken, "
                                                        "showing what I can."));
        return true;
    }
    printToStdout("File %s has wrong size. Ignoring it.\n", path);
    return false;
}

// Debug lines of a read: to the debug log at once, or kept for the GUI thread when the read runs on a
// worker. A kept line is the text the debug log would have shown.
class ReadLog {
public:
    explicit ReadLog(QStringList* kept = nullptr) : kept(kept) {}
    template <typename... Args> void operator()(const Args&... args) const {
        QString line;
        {
            QDebug d(&line);
            (d << ... << args);
        }
        // The debug log drops the separator QDebug leaves after the last item.
        if (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        if (kept) {
            kept->append(line);
        } else {
            qDebug().noquote() << line;
        }
    }

private:
    QStringList* kept;
};

// Start date-time, native date-time, bands and sampling interval from the passport's keys.
void takeValues(Data& rec, const QMap<QString, QString>& keys) {
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
}

// The passport: fills the record's counts and, unless countsOnly, its values (start, bands, sampling
// interval). A series read keeps none of these values; parsing the start would be the one part of it
// that goes through state shared between threads, the C library's time zone. False when the read stops
// there; the record is then what the caller returns.
bool readPassport(QFile& f, Data& rec, const ReadLog& log, bool countsOnly) {
    QByteArray first = readBoundedLine(f);
    const int lineCount = Reader::readHeaderLineCount(first);
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
        log("Error! No channels in file!");
        rec.npoints = 0;
        return false;
    }
    if (keys.contains("modulus")) {
        takeModules(rec, keys.value("modulus"));
    } else if (keys.contains("modules")) {
        takeModules(rec, keys.value("modules"));
    } else {
        log("Error! No modules in file!");
        rec.npoints = -1;
        return false;
    }
    rec.rays = keys.contains("rays") ? toInt(keys.value("rays")) : 8;
    if (!countsOnly) {
        takeValues(rec, keys);
    }

    // Real passports never ask for these; arrays cannot be built from them.
    if (rec.npoints < 0 || rec.channels <= 0 || rec.rays <= 0 || rec.modules <= 0) {
        log("Error! Impossible counts in file! npoints", rec.npoints, "modules", rec.modules, "channels",
            rec.channels, "rays", rec.rays);
        rec.npoints = 0;
        return false;
    }
    return true;
}

// Cuts npoints to the whole points the rest of the file holds (a passport may claim anything) and gives
// the floats per point. False when the samples cannot be read at all; npoints is then 0.
bool fitPoints(QFile& f, const QString& path, Data& rec, const ReadLog& log, qint64& floatsPerPoint,
               bool& shortFile) {
    qint64 bytesPerPoint = 0;
    const bool overflow =
        __builtin_mul_overflow(qint64(rec.modules), qint64(rec.channels), &floatsPerPoint) ||
        __builtin_mul_overflow(floatsPerPoint, qint64(rec.rays), &floatsPerPoint) ||
        __builtin_mul_overflow(floatsPerPoint, qint64(4), &bytesPerPoint);
    if (f.isSequential()) {
        log("Error! Not a regular file:", path);
        rec.npoints = 0;
        return false;
    }
    const qint64 available = qMax<qint64>(0, f.size() - f.pos());
    const qint64 fits = overflow ? 0 : available / bytesPerPoint;
    if (rec.npoints > fits) {
        log("Error! File holds", fits, "points, passport says", rec.npoints);
        rec.npoints = int(fits);
        shortFile = true;
    }
    return true;
}

// The samples of the file in chunks through one buffer. dst[k] receives the k-th float of every point
// (file order: module, ray, channel); a null entry is read and not kept.
class SampleLoop {
public:
    enum class End { Complete, RanOut, Stopped };

    // buffer holds chunk + 4 bytes.
    SampleLoop(QFile& f, int npoints, qint64 perPoint, const std::vector<float*>& dst, char* buffer,
               qint64 chunk)
        : f(f), npoints(npoints), perPoint(perPoint), dst(dst), buffer(buffer), chunk(chunk) {}

    // Called before points [first, first + count) are stored; may be left empty.
    std::function<void(int first, int count)> beforePoints;
    // Called when the time limit has passed: true goes on (and the limit moves out of reach), false stops.
    std::function<bool()> tooSlow;

    End run() {
        if (npoints <= 0 || perPoint <= 0) {
            return End::Complete;
        }
        qint64 start = now();
        for (int p = 0; p < npoints;) {
            // Whole points already in the buffer are copied a tile at a time: each series then receives
            // a run of consecutive points instead of one float per point, which keeps the writes
            // sequential.
            const qint64 whole = qMin<qint64>((have - at) / perPoint, npoints - p);
            if (whole > 0) {
                const int n = int(qMin<qint64>(whole, tilePoints));
                if (beforePoints) {
                    beforePoints(p, n);
                }
                const char* src = buffer + at * 4;
                const qint64 stride = perPoint * 4;
                for (qint64 k = 0; k < perPoint; ++k) {
                    if (!dst[size_t(k)]) {
                        continue;
                    }
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
            if (beforePoints) {
                beforePoints(p, 1);
            }
            qint64 i = 0;
            while (i < perPoint) {
                if (at == have) {
                    if (!refill()) {
                        // Samples the file did not supply are zero, never left over from earlier
                        // allocations.
                        for (qint64 k = 0; k < perPoint; ++k) {
                            if (float* out = dst[size_t(k)]) {
                                std::fill(out + (k < i ? p + 1 : p), out + npoints, 0.0f);
                            }
                        }
                        return End::RanOut;
                    }
                    if (now() - start > timeLimitMs) {
                        if (!tooSlow()) {
                            return End::Stopped;
                        }
                        start += qint64(1000000000) * 1000;
                    }
                }
                const qint64 n = qMin(perPoint - i, have - at);
                const char* src = buffer + at * 4;
                float* const* out = dst.data() + i;
                for (qint64 k = 0; k < n; ++k) {
                    if (out[k]) {
                        out[k][p] = qFromLittleEndian<float>(src + k * 4);
                    }
                }
                i += n;
                at += n;
            }
            ++p;
        }
        return End::Complete;
    }

private:
    // A float split across two reads is carried to the next chunk, never dropped.
    bool refill() {
        const qint64 carry = bytesInBuffer - have * 4;
        if (carry > 0) {
            std::memmove(buffer, buffer + have * 4, size_t(carry));
        }
        const qint64 got = f.read(buffer + carry, chunk);
        bytesInBuffer = carry + qMax<qint64>(got, 0);
        have = bytesInBuffer / 4;
        at = 0;
        return have > 0;
    }

    QFile& f;
    const int npoints;
    const qint64 perPoint;
    const std::vector<float*>& dst;
    char* const buffer;
    const qint64 chunk;

    qint64 bytesInBuffer = 0;
    qint64 have = 0; // whole floats in the buffer
    qint64 at = 0;   // next float to take
};

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
    const ReadLog log;
    if (!readPassport(f, rec, log, false) || headerOnly) {
        return rec;
    }

    rec.mark = -1.0;
    rec.notOwner = false;

    qint64 floatsPerPoint = 0;
    bool shortFile = false;
    if (!fitPoints(f, path, rec, log, floatsPerPoint, shortFile)) {
        return rec;
    }
    // Every sample is written below (or zeroed when the file ends early), so no zero-fill pass first.
    if (rec.npoints > 0 && !allocSamples(rec, false)) {
        log("Error! Cannot allocate samples:", rec.npoints, "points of", floatsPerPoint);
        rec.npoints = 0;
        return rec;
    }

    BusyGuard busy;
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

    // Every byte is read into the buffer before it is used: no zero-fill pass.
    const std::unique_ptr<char[]> buffer(rec.npoints > 0 ? new char[size_t(chunkBytes + 4)] : nullptr);
    SampleLoop loop(f, rec.npoints, perPoint, dst, buffer.get(), chunkBytes);
    loop.beforePoints = [this, &rec](int first, int count) {
        for (int p = first; p < first + count; ++p) {
            if (p % 1000 == 0) {
                emit progress(int(qint64(p) * 100 / rec.npoints));
            }
            BusyGuard::processEvents();
        }
    };
    loop.tooSlow = [&path]() { return goOnWhenSlow(path); };
    switch (loop.run()) {
    case SampleLoop::End::Stopped:
        freeSamples(rec);
        return Data();
    case SampleLoop::End::RanOut:
        shortFile = true;
        break;
    case SampleLoop::End::Complete:
        break;
    }

    if (shortFile) {
        if (keepShortFile(path)) {
            return rec;
        }
        freeSamples(rec);
        return Data();
    }
    emit progress(100);
    return rec;
}

Reader::SeriesRead Reader::readSeries(const QString& path, int channelCount) {
    SeriesRead out;
    out.path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return out;
    }
    Data rec;
    const ReadLog log(&out.debugLines);
    if (!readPassport(f, rec, log, true)) {
        return out;
    }
    qint64 floatsPerPoint = 0;
    if (!fitPoints(f, path, rec, log, floatsPerPoint, out.shortFile)) {
        return out;
    }
    // readFile refuses to allocate so many samples before it reads any.
    if (rec.npoints > 0 && qint64(rec.npoints) * floatsPerPoint > maxSampleCount) {
        log("Error! Cannot allocate samples:", rec.npoints, "points of", floatsPerPoint);
        out.shortFile = false;
        return out;
    }

    const qint64 perPoint = rec.npoints > 0 ? floatsPerPoint : 0;
    std::vector<float*> dst(size_t(perPoint), nullptr);
    if (rec.npoints > 0 && channelCount > 0 && rec.channels >= channelCount) {
        out.series.resize(channelCount);
        // Module 0, ray 0: channel c is float c of every point.
        for (int c = 0; c < channelCount; ++c) {
            out.series[c].resize(rec.npoints);
            dst[size_t(c)] = out.series[c].data();
        }
    }
    // A thread keeps its buffer from file to file: a fresh one would cost its page faults every time,
    // on every worker at once.
    thread_local const std::unique_ptr<char[]> buffer(new char[size_t(seriesChunkBytes + 4)]);
    SampleLoop loop(f, rec.npoints, perPoint, dst, buffer.get(), seriesChunkBytes);
    loop.tooSlow = [&out]() {
        out.slowFile = true;
        return true;
    };
    if (loop.run() == SampleLoop::End::RanOut) {
        out.shortFile = true;
    }
    return out;
}

void Reader::report(SeriesRead& read) {
    for (const QString& line : qAsConst(read.debugLines)) {
        qDebug().noquote() << line;
    }
    if ((read.slowFile && !goOnWhenSlow(read.path)) || (read.shortFile && !keepShortFile(read.path))) {
        read.series.clear();
    }
}
