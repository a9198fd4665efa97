#include "core/reader.h"

#include "core/resultheader.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegExp>
#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Output is gathered and written in large pieces.
constexpr int flushBytes = 4 * 1024 * 1024;

void flushIfFull(QFile& out, QByteArray& buffer) {
    if (buffer.size() >= flushBytes) {
        out.write(buffer);
        buffer.clear();
    }
}

// A header line of the result file as text, for the tests on its start.
QString headerText(const QByteArray& line) {
    return QString::fromUtf8(line.constData(), line.size());
}

// Numbers are formatted on the stack: millions of them per file, none may cost an allocation, and
// none may depend on the locale the application runs in. Samples are written as printf's %g does.
void appendGeneral6(QByteArray& out, double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6).ptr;
    out.append(text, int(end - text));
}

void appendInt(QByteArray& out, qint64 v) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, int(end - text));
}

// Rounds like the toolkit's own fixed notation: an exact tie goes away from zero, and -0 has no sign.
void appendFixed7(QByteArray& out, double v) {
    if (std::isnan(v)) {
        out.append("nan");
        return;
    }
    if (v == 0) {
        v = 0;
    }
    char text[336]; // the largest double takes 309 digits, then sign, point and 7 decimals
    // A tie at the eighth decimal is exactly an odd multiple of 2^-8; printf rounds it to even.
    const double scaled = v * 256;
    if (std::fabs(v) < 1e15 && scaled == std::trunc(scaled) && std::fmod(scaled, 2.0) != 0) {
        // Eight decimals are exact here; drop the final 5 and carry one into the seventh.
        char* end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 8).ptr - 1;
        char* p = end;
        for (;;) {
            if (p == text || p[-1] == '-') {
                std::memmove(p + 1, p, size_t(end - p));
                *p = '1';
                ++end;
                break;
            }
            --p;
            if (*p == '.') {
                continue;
            }
            if (*p == '9') {
                *p = '0';
                continue;
            }
            ++*p;
            break;
        }
        out.append(text, int(end - text));
        return;
    }
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 7).ptr;
    out.append(text, int(end - text));
}

// Writing over the file being read would destroy it before it is read.
bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Whether the digits of a days count name any day; a count too long for an int still does.
bool anyDay(const QString& digits) {
    for (const QChar c : digits) {
        if (c != QLatin1Char('0')) {
            return true;
        }
    }
    return false;
}

} // namespace

int Reader::writeDataAsText(Data& data, const QString& outPath) {
    if (sameFile(outPath, data.filePath)) {
        qDebug() << "can't open file" << outPath << "for writing";
        return -1;
    }
    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug() << "can't open file" << outPath << "for writing";
        return -1;
    }
    QByteArray buffer;
    if (!data.filePath.isEmpty()) {
        QFile in(data.filePath);
        if (!in.open(QIODevice::ReadOnly)) {
            // Without its passport the rendering is incomplete: a failure, not a success.
            return -1;
        }
        QByteArray first = in.readLine();
        const int lines = readHeaderLineCount(first);
        buffer += QByteArray::number(lines) + '\n';
        for (int i = 1; i < lines && !in.atEnd(); ++i) {
            QByteArray raw = in.readLine();
            const bool hadLineEnd = raw.endsWith('\n');
            const int nul = raw.indexOf('\0');
            if (nul >= 0) {
                raw.truncate(nul);
            }
            QByteArray text = QString::fromUtf8(raw).toUtf8();
            if (hadLineEnd && !text.endsWith('\n')) {
                text += '\n';
            }
            buffer += text;
        }
    }
    buffer += '\n';

    const bool haveSamples = data.samples != nullptr && data.npoints > 0 && data.modules > 0 &&
                             data.rays > 0 && data.channels >= 0;
    if (haveSamples) {
        for (int p = 0; p < data.npoints; ++p) {
            for (int m = 0; m < data.modules; ++m) {
                for (int r = 0; r < data.rays; ++r) {
                    buffer += "i=";
                    appendInt(buffer, qint64(p) + 1);
                    buffer += " m";
                    appendInt(buffer, qint64(data.firstModule) + m);
                    buffer += "_r";
                    appendInt(buffer, qint64(r) + 1);
                    buffer += ": ";
                    for (int c = 0; c < data.channels; ++c) {
                        float& sample = data.samples[m][c][r][p];
                        if (!Tools::valueIsSane(sample)) {
                            // Broken samples are cleared in the shared record too, for every later view.
                            sample = 0;
                        }
                        appendGeneral6(buffer, double(sample));
                        buffer += ' ';
                    }
                    buffer += '\n';
                }
                buffer += '\n';
                flushIfFull(out, buffer);
            }
        }
    }
    out.write(buffer);
    return 0;
}

QString Reader::convertResultFileToText(const QString& inPath, const QString& outPath) {
    if (inPath.isEmpty()) {
        return QStringLiteral("ERROR!\nНет файла для чтения!");
    }
    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly)) {
        return QStringLiteral("ERROR!\nНе могу открыть файл для чтения\n") + inPath;
    }
    if (outPath.isEmpty()) {
        return QStringLiteral("ERROR!\nНет файла для записи!");
    }
    QFile out(outPath);
    if (sameFile(inPath, outPath) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QStringLiteral("ERROR!\nНе могу открыть файл для записи\n") + outPath;
    }

    const ResultHeader header = ResultHeader::read(in);
    int points = 0;
    for (const QByteArray& line : header.lines) {
        out.write(line);
        const QString text = headerText(line);
        if (text.startsWith(QLatin1String("points:"))) {
            points = text.mid(8).trimmed().toInt();
        }
    }
    const bool doubles = points > 0 && header.doubles(in, points);
    const int valueBytes = doubles ? 8 : 4;

    // A negative count is as unusable as a missing one.
    if (points <= 0) {
        return QStringLiteral("ERROR!\nНеверный формат файла,\nнет points в паспорте\n") + inPath;
    }

    // Blocks are read through a fixed buffer, so a count of billions costs no memory.
    constexpr int chunkValues = 65536;
    QByteArray chunk;
    QByteArray buffer;
    const QRegExp daysRx(QStringLiteral("days: (\\d*)\n$"));
    while (!in.atEnd()) {
        const QByteArray dmLine = in.readLine();
        buffer += dmLine;
        const QByteArray daysLine = in.readLine();
        buffer += daysLine;
        QRegExp rx = daysRx;
        if (rx.indexIn(headerText(daysLine)) < 0) {
            out.write(buffer);
            return QStringLiteral("Error! No days in ") + inPath;
        }
        if (!anyDay(rx.cap(1))) {
            continue;
        }
        qint64 left = points;
        while (left > 0) {
            const qint64 want = qMin<qint64>(left, chunkValues);
            chunk = in.read(want * valueBytes);
            const qint64 got = chunk.size() / valueBytes;
            const char* p = chunk.constData();
            for (qint64 k = 0; k < got; ++k, p += valueBytes) {
                const double v = doubles ? qFromLittleEndian<double>(p) : double(qFromLittleEndian<float>(p));
                appendFixed7(buffer, v);
                buffer += '\n';
            }
            flushIfFull(out, buffer);
            left -= got;
            if (got < want) {
                // The file ends inside the block: report it rather than invent the missing values.
                out.write(buffer);
                return QStringLiteral("Error! The file ends inside the values of a block in ") + inPath;
            }
        }
        in.readLine();
        buffer += '\n';
        flushIfFull(out, buffer);
    }
    out.write(buffer);
    return QString();
}
