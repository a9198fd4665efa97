#include "profiles/profilefile.h"

#include <QByteArray>
#include <QFile>
#include <QStringRef>

#include <algorithm>
#include <cmath>

namespace {
bool samePeriod(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void addSamples(const QStringRef& line, ProfileFile::Block& block) {
    int j = 0;
    int from = 0;
    for (;;) {
        const int space = line.indexOf(QLatin1Char(' '), from);
        const QStringRef part = line.mid(from, space < 0 ? -1 : space - from);
        const double v = part.isEmpty() ? 0.0 : part.toDouble(); // malformed text reads as 0
        block.samples.append(v);
        if (v > block.max) {
            block.max = v;
            block.maxIndex = j;
        }
        if (v < block.min) {
            block.min = v;
        }
        ++j;
        if (space < 0) {
            break;
        }
        from = space + 1;
    }
}
} // namespace

ProfileFile ProfileFile::parse(const QString& text) {
    ProfileFile file;
    file.addLines(text);
    file.finish();
    return file;
}

bool ProfileFile::read(const QString& path, ProfileFile& out) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    out = ProfileFile();
    constexpr qint64 chunk = 4 << 20;
    QByteArray carry;
    for (;;) {
        const QByteArray piece = f.read(chunk);
        if (piece.isEmpty()) {
            break;
        }
        carry += piece;
        // A line end never falls inside a UTF-8 sequence, so whole lines decode on their own.
        const int lastEnd = carry.lastIndexOf('\n');
        if (lastEnd < 0) {
            continue;
        }
        out.addLines(QString::fromUtf8(carry.constData(), lastEnd + 1));
        carry.remove(0, lastEnd + 1);
    }
    out.addLines(QString::fromUtf8(carry));
    out.finish();
    return true;
}

void ProfileFile::addLines(const QString& text) {
    const int size = text.size();
    int start = 0;
    while (start < size) {
        int end = text.indexOf(QLatin1Char('\n'), start);
        const int next = end < 0 ? size : end + 1;
        if (end < 0) {
            end = size;
        }
        if (end > start && text.at(end - 1) == QLatin1Char('\r')) {
            --end;
        }
        addLine(text.midRef(start, end - start));
        start = next;
    }
}

void ProfileFile::addLine(QStringRef line) {
    if (line.contains(QLatin1String(" *"))) {
        replaced = line.toString();
        replaced.replace(QLatin1String(" *"), QLatin1String(" "));
        line = QStringRef(&replaced);
    }
    if (line.startsWith(QLatin1String("period="))) {
        finish();
        open.periodText = line.mid(7).toString();
        const double value = open.periodText.toDouble(); // 0 when it is no number
        if (std::none_of(periods.cbegin(), periods.cend(),
                         [value](double p) { return samePeriod(p, value); })) {
            periods.append(value);
        }
        inBlock = true;
    } else if (inBlock) {
        addSamples(line, open);
    }
}

void ProfileFile::finish() {
    if (inBlock && !open.samples.isEmpty()) {
        blocks.append(open);
    }
    open = Block();
    inBlock = false;
}

QVector<QString> ProfileFile::periodTexts(int decimals) const {
    QVector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end(), [](double a, double b) {
        if (std::isnan(a)) {
            return false;
        }
        return std::isnan(b) || a < b;
    });
    QVector<QString> out;
    out.reserve(sorted.size());
    for (double p : sorted) {
        out.append(QString::number(p, 'f', decimals));
    }
    return out;
}
