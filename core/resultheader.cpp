#include "core/resultheader.h"

#include <QDebug>

namespace {

constexpr qint64 maxLine = 4096;

// Records head "disp: D" then "days: C" (or "points: C"); the count is the fourth blank-separated token.
qint64 countOfHead(const QByteArray& head) {
    const QList<QByteArray> tokens = head.simplified().split(' ');
    if (tokens.size() < 4) {
        return 0;
    }
    bool ok = false;
    const qint64 count = tokens.at(3).toLongLong(&ok);
    return ok ? count : 0;
}

} // namespace

ResultHeader ResultHeader::read(QIODevice& in) {
    ResultHeader h;
    for (int i = 0; i < 6; ++i) {
        const QByteArray line = in.readLine(maxLine);
        h.lines.append(line);
        if (line.startsWith("points:")) {
            h.points = pointsOfLine(line);
        } else if (line.startsWith("type: float")) {
            h.marker = Marker::Float;
        } else if (line.startsWith("first_point:") && h.marker != Marker::Float) {
            h.marker = line.mid(12).trimmed().isEmpty() ? h.marker : Marker::Double;
        }
    }
    return h;
}

int ResultHeader::pointsOfLine(const QByteArray& line) {
    QByteArray text = line;
    text.replace("points: ", "");
    text.replace("\n", "");
    // Strictly a decimal integer: a CR left by a CR LF line end makes it unreadable.
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (!((c >= '0' && c <= '9') || (i == 0 && (c == '-' || c == '+')))) {
            return 0;
        }
    }
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n : 0;
}

bool ResultHeader::doubles(QIODevice& in, qint64 points) const {
    if (marker != Marker::None) {
        return marker == Marker::Double;
    }
    const qint64 start = in.pos();
    bool floats = true;
    // Walk the heads up to the first block; the bytes right after it as float32 tell the type.
    QByteArray first = in.readLine(maxLine);
    for (int guard = 0; guard < 100000 && first.startsWith("disp"); ++guard) {
        const QByteArray second = in.readLine(maxLine);
        if (countOfHead(first + ' ' + second) > 0 && points > 0) {
            const qint64 end = in.pos() + 4 * points;
            if (end != in.size()) {
                in.seek(end);
                floats = in.read(5) == "\ndisp";
            }
            break;
        }
        first = in.readLine(maxLine);
        if (!first.startsWith("disp")) {
            first = in.readLine(maxLine); // the separator after a record without block
        }
    }
    in.seek(start);
    qDebug().noquote() << "Result file without type marker: blocks read as"
                       << (floats ? "float32" : "float64");
    return !floats;
}

void parseHeaderLine(QHash<QString, int>& hash, QString line) {
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const int blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        return;
    }
    QStringRef value = line.midRef(blank);
    value.chop(1);
    int start = 0;
    while (start < value.size() && value.at(start) == QLatin1Char(' ')) {
        ++start;
    }
    QString key = line.left(blank);
    key.remove(QLatin1Char(':'));
    hash.insert(key, value.mid(start).toInt());
}
