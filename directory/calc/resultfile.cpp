#include "directory/calc/resultfile.h"

#include "core/resultheader.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace {

constexpr qint64 maxLine = 4096;

// Line reading over the open file, seeking past blocks that are not needed.
struct FileSource {
    QFile& file;
    QByteArray readLine() { return file.readLine(maxLine); }
    qint64 pos() const { return file.pos(); }
    void seek(qint64 p) { file.seek(p); }
    qint64 size() const { return file.size(); }
    bool atEnd() const { return file.atEnd(); }
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

inline double valueAt(const char* block, qint64 i, bool doubles) {
    return doubles ? qFromLittleEndian<double>(block + 8 * i)
                   : double(qFromLittleEndian<float>(block + 4 * i));
}

// The records after the header, in one read of at most the block limit plus the heads.
QByteArray readBody(QFile& f) {
    const qint64 left = f.size() - f.pos();
    return f.read(qMin(left, ResultFile::maxBlockBytes + 1024 * 1024));
}

struct Block {
    int index;
    int dm;
    qint64 pos;
};

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

void parseHeaderLine(QHash<QString, int>& hash, QString line) {
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const int blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        return;
    }
    QString value = line.mid(blank);
    value.chop(1);
    int start = 0;
    while (start < value.size() && value.at(start) == QLatin1Char(' ')) {
        ++start;
    }
    QString key = line.left(blank);
    key.remove(QLatin1Char(':'));
    hash.insert(key, value.mid(start).toInt());
}

int ResultFile::addFourierFromFile(const QString& fileName, int maxRecords, int dispersion,
                                   QVector<double>& sum) {
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
    const Walk walk = walkRecords(src, maxRecords, blockBytes, [&](int, int dm, qint64) {
        if (dm != dispersion) {
            return Step::Next;
        }
        block = f.read(blockBytes);
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
    const char* p = block.constData();
    double* out = sum.data();
    for (int i = 0; i < n; ++i) {
        const double v = valueAt(p, i, doubles);
        if (!std::isnan(v)) {
            out[i] += v;
        }
    }
    return 1;
}

int ResultFile::addFourierMatrixFromFile(const QString& fileName, int maxRecords,
                                         QVector<QVector<double>>& matrix, int points) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Error of open file " << fileName;
        return -1;
    }
    const ResultHeader header = ResultHeader::read(f);
    const int n = header.points;
    if (points <= 0 || points != n) {
        qDebug().noquote() << "Error7! points=" << points << "points1=" << n;
        return -3;
    }
    const bool doubles = header.doubles(f, n);
    const qint64 blockBytes = qint64(n) * (doubles ? 8 : 4);
    const QByteArray body = readBody(f);
    MemorySource src{body};
    std::vector<Block> blocks;
    const Walk walk = walkRecords(src, maxRecords, blockBytes, [&](int k, int dm, qint64 pos) {
        blocks.push_back({k, dm, pos});
        return Step::Next;
    });
    if (walk == Walk::Cut) {
        qDebug().noquote() << "Error! The file ends inside a block: " << fileName;
        return -3;
    }
    for (const Block& b : blocks) {
        if (b.index >= matrix.size() || matrix.at(b.index).size() < n) {
            qDebug().noquote() << "Error! No row" << b.index << "of" << n << "points for" << fileName;
            return -3;
        }
    }
    for (const Block& b : blocks) {
        const char* p = body.constData() + b.pos;
        double* row = matrix[b.index].data();
        for (int i = 0; i < n; ++i) {
            const double v = valueAt(p, i, doubles);
            if (v != 0 && !std::isnan(v)) {
                row[i] += v;
            }
        }
    }
    return 1;
}

bool ResultFile::addFourierHashFromFile(const QString& fileName, int maxRecords, int shift, int averages,
                                        int withNull, QHash<QString, QVector<double>>& sums, int points,
                                        QString& errors) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Error of open file " << fileName;
        errors = QStringLiteral("Error of open file ") + fileName;
        return false;
    }
    const ResultHeader header = ResultHeader::read(f);
    const int n = header.points;
    if (n <= 0 || n != points) {
        errors = QStringLiteral("Bad points in file: %1 != %2").arg(n).arg(points);
        qDebug().noquote() << "ERROR 11! " + errors;
        return false;
    }
    const bool doubles = header.doubles(f, n);
    const qint64 blockBytes = qint64(n) * (doubles ? 8 : 4);
    const QByteArray body = readBody(f);
    MemorySource src{body};
    std::vector<Block> blocks;
    const Walk walk = walkRecords(src, maxRecords, blockBytes, [&](int k, int dm, qint64 pos) {
        blocks.push_back({k, dm, pos});
        return Step::Next;
    });
    if (walk == Walk::Cut) {
        errors = QStringLiteral("The file ends inside a block: ") + fileName;
        qDebug().noquote() << errors;
        return false;
    }
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
        double* out = targets[j];
        bool logged = false;
        for (int i = 0; i < n; ++i) {
            const double v = valueAt(p, i, doubles);
            if (std::isnan(v)) {
                if (!logged) {
                    qDebug().noquote() << (doubles ? "Error4! " : "Error5! ") << fileName
                                       << ": disp=" << blocks[size_t(j)].dm << " arr[" << i << "]=" << v
                                       << " (points=" << n << ")\n";
                    logged = true;
                }
                continue;
            }
            out[i] += v;
        }
    }
    return true;
}
