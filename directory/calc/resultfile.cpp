#include "directory/calc/resultfile.h"

#include "core/numberreader.h"
#include "core/resultheader.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <type_traits>
#include <vector>

#include <unistd.h>

namespace {

constexpr qint64 maxLine = 4096;

// Line reading over the open file through a small window: a record head costs one read, and blocks
// that are not needed are skipped without reading them.
struct FileSource {
    QFile& file;
    qint64 p = 0;
    qint64 fileSize = 0;
    char window[256];
    qint64 windowStart = 0;
    qint64 windowEnd = 0; // exclusive; windowStart == windowEnd means empty

    FileSource(QFile& f) : file(f), p(f.pos()), fileSize(f.size()) {}

    // Reads at a place without QFile's buffer, which would fill 16 KiB for every small read.
    qint64 readAt(qint64 at, char* to, qint64 bytes) {
        const int fd = file.handle();
        if (fd < 0) {
            return file.seek(at) ? file.read(to, bytes) : -1;
        }
        qint64 got = 0;
        while (got < bytes) {
            const ssize_t r = ::pread(fd, to + got, size_t(bytes - got), off_t(at + got));
            if (r < 0 && errno == EINTR) {
                continue;
            }
            if (r <= 0) {
                break;
            }
            got += r;
        }
        return got;
    }

    QByteArray readLine() {
        QByteArray line;
        while (p < fileSize && line.size() < maxLine - 1) {
            if (p < windowStart || p >= windowEnd) {
                const qint64 got = readAt(p, window, sizeof window);
                if (got <= 0) {
                    break;
                }
                windowStart = p;
                windowEnd = p + got;
            }
            const char* from = window + (p - windowStart);
            const qint64 left = qMin(windowEnd - p, qint64(maxLine - 1 - line.size()));
            const void* feed = memchr(from, '\n', size_t(left));
            const qint64 take = feed ? static_cast<const char*>(feed) - from + 1 : left;
            line.append(from, int(take));
            p += take;
            if (feed) {
                break;
            }
        }
        return line;
    }
    qint64 pos() const { return p; }
    void seek(qint64 to) { p = to; }
    qint64 size() const { return fileSize; }
    bool atEnd() const { return p >= fileSize; }
    QByteArray readBlockAt(qint64 at, qint64 bytes) {
        if (bytes <= 0 || bytes > std::numeric_limits<int>::max() - 64) {
            return QByteArray(); // larger than a QByteArray holds: refused as a cut block
        }
        QByteArray block(int(bytes), Qt::Uninitialized);
        block.resize(int(qMax<qint64>(readAt(at, block.data(), bytes), 0)));
        return block;
    }
    QByteArray readBlock(qint64 bytes) {
        const QByteArray block = readBlockAt(p, bytes);
        p += block.size();
        return block;
    }
};

// The same over the records read into memory in one piece.
struct MemorySource {
    const QByteArray& data;
    qint64 p = 0;
    QByteArray readLine() {
        const qint64 size = data.size();
        if (p >= size) {
            return QByteArray();
        }
        const qint64 limit = qMin(size, p + maxLine - 1);
        qint64 end = data.indexOf('\n', int(p));
        end = (end < 0 || end >= limit) ? limit : end + 1;
        const QByteArray line = data.mid(int(p), int(end - p));
        p = end;
        return line;
    }
    qint64 pos() const { return p; }
    void seek(qint64 to) { p = to; }
    qint64 size() const { return data.size(); }
    bool atEnd() const { return p >= data.size(); }
};

enum class Walk { Done, Cut };
enum class Step { Next, Stop };

// Walks at most maxRecords records; visit(index, dm, blockPos) sees every record with a block, which
// lies whole inside the source. A line beginning "disp" where a separator belongs is the next head.
template <class Source, class Visit>
Walk walkRecords(Source& src, int maxRecords, qint64 blockBytes, Visit visit) {
    QByteArray pending;
    for (int k = 0; k < maxRecords; ++k) {
        const QByteArray first = pending.isEmpty() ? src.readLine() : pending;
        pending.clear();
        const QByteArray second = src.readLine();
        if (first.isEmpty() && second.isEmpty() && src.atEnd()) {
            break; // the missing records would read as empty lines and add nothing
        }
        const QHash<QString, int> head = parseRecordHeader(QString::fromLatin1(first + second));
        if (!head.contains(QStringLiteral("disp"))) {
            continue;
        }
        const int count = head.contains(QStringLiteral("days")) ? head.value(QStringLiteral("days"))
                                                                : head.value(QStringLiteral("points"), 0);
        if (count > 0) {
            const qint64 pos = src.pos();
            if (blockBytes > src.size() - pos) {
                return Walk::Cut;
            }
            if (visit(k, head.value(QStringLiteral("disp")), pos) == Step::Stop) {
                return Walk::Done;
            }
            src.seek(pos + blockBytes);
        }
        const QByteArray separator = src.readLine();
        if (separator.startsWith("disp")) {
            pending = separator;
        }
    }
    return Walk::Done;
}

// Value i of a block of little-endian values of type T.
template <typename T, typename Bits> T valueAt(const char* block, int i) {
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        T v;
        std::memcpy(&v, block + sizeof(T) * size_t(i), sizeof(T));
        return v;
    } else {
        return qFromLittleEndian<T>(block + sizeof(T) * size_t(i));
    }
}

// Adds n values into out, a NaN or an infinity counting 0; returns whether one was met. One pass without
// a branch, so the compiler vectorises it: such a value is replaced by -0.0 in its bits (a float
// comparison may trap and would keep the loop scalar), and adding -0.0 leaves every sum as it was, a sum
// of -0.0 included.
template <typename T, typename Bits> bool addBlock(const char* block, double* out, int n) {
    constexpr Bits magnitude = ~Bits(0) >> 1;
    constexpr Bits sign = ~magnitude;
    constexpr Bits infinity = std::is_same<T, float>::value ? Bits(0x7f800000u) : Bits(0x7ff0000000000000ull);
    Bits nonFinite = 0;
    for (int i = 0; i < n; ++i) {
        const T raw = valueAt<T, Bits>(block, i);
        Bits b;
        std::memcpy(&b, &raw, sizeof b);
        const Bits mask = Bits(0) - Bits((b & magnitude) >= infinity);
        nonFinite |= mask;
        b = (b & ~mask) | (sign & mask);
        T v;
        std::memcpy(&v, &b, sizeof v);
        out[i] += double(v);
    }
    return nonFinite != 0;
}

bool addBlock(const char* block, double* out, int n, bool doubles) {
    return doubles ? addBlock<double, quint64>(block, out, n) : addBlock<float, quint32>(block, out, n);
}

double blockValue(const char* block, int i, bool doubles) {
    return doubles ? valueAt<double, quint64>(block, i) : double(valueAt<float, quint32>(block, i));
}

// One debug line for a block whose non-finite values counted 0; only when addBlock met one.
void reportBlock(const char* block, int n, bool doubles, int dm, const QString& fileName) {
    qint64 count = 0;
    for (int i = 0; i < n; ++i) {
        count += std::isfinite(blockValue(block, i, doubles)) ? 0 : 1;
    }
    NumberReader::reportNonFinite(count, QStringLiteral("the block of DM %1 of %2").arg(dm).arg(fileName));
}

// The records after the header, in one read of at most the block limit plus the heads. The buffer is
// kept between calls (the day loops read hundreds of files) unless it grew large.
class Body {
public:
    explicit Body(QFile& f) {
        const qint64 want = qMin(f.size() - f.pos(), ResultFile::maxBlockBytes + 1024 * 1024);
        QByteArray& buffer = kept();
        buffer.resize(int(qMax<qint64>(want, 0)));
        const qint64 got = want > 0 ? f.read(buffer.data(), want) : 0;
        buffer.resize(int(qMax<qint64>(got, 0)));
    }
    ~Body() {
        if (kept().capacity() > 16 * 1024 * 1024) {
            kept() = QByteArray();
        }
    }
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;
    const QByteArray& bytes() const { return kept(); }

private:
    static QByteArray& kept() {
        thread_local QByteArray buffer;
        return buffer;
    }
};

// Length of the decimal text of v, as QByteArray::number writes it.
int decimalDigits(int v) {
    qint64 m = v;
    int digits = m < 0 ? 2 : 1;
    for (m = qAbs(m); m >= 10; m /= 10) {
        ++digits;
    }
    return digits;
}

// A file written one record per DM of `layout`, every record with a block and equally long day counts,
// holds record k at a place that the first head tells. Finds the block of record `index` there in a few
// reads instead of walking the heads before it; an empty result means the file is not that regular and
// must be walked. The head found must read "disp: <DM>" with a count above 0, follow a line feed, and
// its block must end the file or be followed by the next head.
QByteArray jumpToBlock(FileSource& src, qint64 blockBytes, const QVector<int>& layout, int index) {
    const qint64 body = src.pos();
    const QByteArray first = src.readLine();
    const QByteArray second = src.readLine();
    const QByteArray firstDisp = "disp: " + QByteArray::number(layout[0]) + '\n';
    if (first != firstDisp || parseRecordHeader(QString::fromLatin1(first + second)).value("days") <= 0) {
        src.seek(body);
        return QByteArray();
    }
    qint64 guess = body;
    for (int i = 0; i < index; ++i) {
        guess += 6 + decimalDigits(layout[i]) + 1 + second.size() + blockBytes + 1;
    }
    const QByteArray head = "\ndisp: " + QByteArray::number(layout[index]) + '\n';
    const qint64 from = qMax(body, guess - 256);
    const QByteArray window = src.readBlockAt(from, 512);
    int at = -1;
    qint64 nearest = std::numeric_limits<qint64>::max();
    for (int i = window.indexOf(head); i >= 0; i = window.indexOf(head, i + 1)) {
        if (qAbs(from + i + 1 - guess) < nearest) {
            nearest = qAbs(from + i + 1 - guess);
            at = i;
        }
    }
    QByteArray block;
    if (at >= 0) {
        src.seek(from + at + 1);
        const QByteArray disp = src.readLine();
        const QByteArray days = src.readLine();
        const qint64 start = src.pos();
        if (parseRecordHeader(QString::fromLatin1(disp + days)).value("days") > 0 &&
            blockBytes <= src.size() - start) {
            block = src.readBlockAt(start, blockBytes + 5);
            const bool ends = start + blockBytes == src.size() || block.mid(int(blockBytes)) == "\ndisp";
            block = ends && block.size() >= blockBytes ? block.left(int(blockBytes)) : QByteArray();
        }
    }
    src.seek(body);
    return block;
}

struct Block {
    int index;
    int dm;
    qint64 pos;
};

// The blocks of one file, read whole into memory, which they point into while this lives.
struct Blocks {
    QFile file;
    std::optional<Body> body;
    int n = 0; // points of the header
    bool doubles = false;
    std::vector<Block> list;
};

enum class Outcome { Read, NotOpened, BadPoints, Cut };

// Opens fileName, checks that its header counts `points` and collects the blocks of at most maxRecords
// records; the caller reports each outcome but Read in its own words.
Outcome readBlocks(const QString& fileName, int maxRecords, int points, Blocks& out) {
    out.file.setFileName(fileName);
    if (!out.file.open(QIODevice::ReadOnly)) {
        return Outcome::NotOpened;
    }
    const ResultHeader header = ResultHeader::read(out.file);
    out.n = header.points;
    if (points <= 0 || points != out.n) {
        return Outcome::BadPoints;
    }
    out.doubles = header.doubles(out.file, out.n);
    const qint64 blockBytes = qint64(out.n) * (out.doubles ? 8 : 4);
    out.body.emplace(out.file);
    MemorySource src{out.body->bytes()};
    const Walk walk = walkRecords(src, maxRecords, blockBytes, [&](int k, int dm, qint64 pos) {
        out.list.push_back({k, dm, pos});
        return Step::Next;
    });
    return walk == Walk::Cut ? Outcome::Cut : Outcome::Read;
}

} // namespace

QHash<QString, int> parseRecordHeader(const QString& head) {
    QHash<QString, int> result;
    if (!head.startsWith(QLatin1String("disp"))) {
        result.insert(QStringLiteral("error"), 1);
        return result;
    }
    QString text = head;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QStringList tokens = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    result.insert(QStringLiteral("disp"), tokens.size() > 1 ? tokens.at(1).toInt() : 0);
    // A head without its fourth token has no count: nothing is read past the tokens present.
    if (tokens.size() >= 4) {
        if (tokens.at(2).startsWith(QLatin1String("points"))) {
            result.insert(QStringLiteral("points"), tokens.at(3).toInt());
        } else if (tokens.at(2).startsWith(QLatin1String("days"))) {
            result.insert(QStringLiteral("days"), tokens.at(3).toInt());
        }
    }
    return result;
}

int ResultFile::addFourierFromFile(const QString& fileName, int maxRecords, int dispersion,
                                   QVector<double>& sum, const QVector<int>& layout) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Error of open file " << fileName;
        return -1;
    }
    const ResultHeader header = ResultHeader::read(f);
    const int n = header.points;
    if (n <= 0 || n != sum.size()) {
        qDebug().noquote() << "Error3! fileName=" << fileName << ": points=" << n
                           << " arr.size=" << sum.size();
        return -3;
    }
    const bool doubles = header.doubles(f, n);
    const qint64 blockBytes = qint64(n) * (doubles ? 8 : 4);
    int result = -2;
    QByteArray block;
    FileSource src{f};
    const int index = layout.indexOf(dispersion);
    if (index > 0 && index < maxRecords && layout.size() <= maxRecords) {
        block = jumpToBlock(src, blockBytes, layout, index);
        if (!block.isEmpty()) {
            if (addBlock(block.constData(), sum.data(), n, doubles)) {
                reportBlock(block.constData(), n, doubles, dispersion, fileName);
            }
            return 1;
        }
    }
    const Walk walk = walkRecords(src, maxRecords, blockBytes, [&](int, int dm, qint64) {
        if (dm != dispersion) {
            return Step::Next;
        }
        block = src.readBlock(blockBytes);
        result = block.size() == blockBytes ? 1 : -3;
        return Step::Stop;
    });
    if (walk == Walk::Cut || result == -3) {
        qDebug().noquote() << "Error! The file ends inside a block: " << fileName;
        return -3;
    }
    if (result == -2) {
        qDebug().noquote() << "Error6! " << fileName << ": no dispersion=" << dispersion;
        return -2;
    }
    if (addBlock(block.constData(), sum.data(), n, doubles)) {
        reportBlock(block.constData(), n, doubles, dispersion, fileName);
    }
    return 1;
}

int ResultFile::addFourierMatrixFromFile(const QString& fileName, int maxRecords,
                                         QVector<QVector<double>>& matrix, int points) {
    Blocks blocks;
    switch (readBlocks(fileName, maxRecords, points, blocks)) {
    case Outcome::NotOpened:
        qDebug().noquote() << "Error of open file " << fileName;
        return -1;
    case Outcome::BadPoints:
        qDebug().noquote() << "Error7! points=" << points << "points1=" << blocks.n;
        return -3;
    case Outcome::Cut:
        qDebug().noquote() << "Error! The file ends inside a block: " << fileName;
        return -3;
    case Outcome::Read:
        break;
    }
    const int n = blocks.n;
    for (const Block& b : blocks.list) {
        if (b.index >= matrix.size() || matrix.at(b.index).size() < n) {
            qDebug().noquote() << "Error! No row" << b.index << "of" << n << "points for" << fileName;
            return -3;
        }
    }
    const QByteArray& body = blocks.body->bytes();
    for (const Block& b : blocks.list) {
        const char* p = body.constData() + b.pos;
        if (addBlock(p, matrix[b.index].data(), n, blocks.doubles)) {
            reportBlock(p, n, blocks.doubles, b.dm, fileName);
        }
    }
    return 1;
}

bool ResultFile::addFourierHashFromFile(const QString& fileName, int maxRecords, int shift, int averages,
                                        int withNull, QHash<QString, QVector<double>>& sums, int points,
                                        QString& errors) {
    Blocks read;
    switch (readBlocks(fileName, maxRecords, points, read)) {
    case Outcome::NotOpened:
        qDebug().noquote() << "Error of open file " << fileName;
        errors = QStringLiteral("Error of open file ") + fileName;
        return false;
    case Outcome::BadPoints:
        errors = QStringLiteral("Bad points in file: %1 != %2").arg(read.n).arg(points);
        qDebug().noquote() << "ERROR 11! " + errors;
        return false;
    case Outcome::Cut:
        errors = QStringLiteral("The file ends inside a block: ") + fileName;
        qDebug().noquote() << errors;
        return false;
    case Outcome::Read:
        break;
    }
    const int n = read.n;
    const bool doubles = read.doubles;
    const QByteArray& body = read.body->bytes();
    const std::vector<Block>& blocks = read.list;
    QVector<double*> targets;
    targets.reserve(int(blocks.size()));
    for (const Block& b : blocks) {
        auto it = sums.find(Tools::fourierFileBaseD(shift, averages, withNull, b.dm));
        if (it == sums.end() || it->size() < n) {
            errors =
                QStringLiteral("No sum of %1 points for DM %2 of file: %3").arg(n).arg(b.dm).arg(fileName);
            qDebug().noquote() << errors;
            return false;
        }
        targets.append(it->data());
    }
    for (int j = 0; j < int(blocks.size()); ++j) {
        const char* p = body.constData() + blocks[size_t(j)].pos;
        if (!addBlock(p, targets[j], n, doubles)) {
            continue;
        }
        // One log line for the first NaN or infinity of a block; every one counted 0.
        for (int i = 0; i < n; ++i) {
            const double v = blockValue(p, i, doubles);
            if (!std::isfinite(v)) {
                qDebug().noquote() << (doubles ? "Error4! " : "Error5! ") << fileName
                                   << ": disp=" << blocks[size_t(j)].dm << " arr[" << i << "]=" << v
                                   << " (points=" << n << ")\n";
                break;
            }
        }
    }
    return true;
}
