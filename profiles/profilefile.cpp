#include "profiles/profilefile.h"

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
    Block open;
    bool inBlock = false;
    auto store = [&]() {
        if (inBlock && !open.samples.isEmpty()) {
            file.blocks.append(open);
        }
    };
    const int size = text.size();
    int start = 0;
    QString replaced;
    while (start < size) {
        int end = text.indexOf(QLatin1Char('\n'), start);
        const int next = end < 0 ? size : end + 1;
        if (end < 0) {
            end = size;
        }
        if (end > start && text.at(end - 1) == QLatin1Char('\r')) {
            --end;
        }
        QStringRef line = text.midRef(start, end - start);
        start = next;
        if (line.contains(QLatin1String(" *"))) {
            replaced = line.toString();
            replaced.replace(QLatin1String(" *"), QLatin1String(" "));
            line = QStringRef(&replaced);
        }
        if (line.startsWith(QLatin1String("period="))) {
            store();
            open = Block();
            open.periodText = line.mid(7).toString();
            const double value = open.periodText.toDouble(); // 0 when it is no number
            if (std::none_of(file.periods.cbegin(), file.periods.cend(),
                             [value](double p) { return samePeriod(p, value); })) {
                file.periods.append(value);
            }
            inBlock = true;
        } else if (inBlock) {
            addSamples(line, open);
        }
    }
    store();
    return file;
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
