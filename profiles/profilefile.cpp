#include "profiles/profilefile.h"

#include "core/filebytes.h"
#include "core/numberreader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
bool samePeriod(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

ProfileFile ProfileFile::parse(const QString& text) {
    ProfileFile file;
    const QByteArray bytes = text.toUtf8();
    file.addText(bytes.constData(), bytes.constData() + bytes.size());
    file.finish();
    return file;
}

bool ProfileFile::read(const QString& path, ProfileFile& out) {
    FileBytes bytes(path);
    if (!bytes.opened()) {
        return false;
    }
    bytes.skipByteOrderMark();
    out = ProfileFile();
    out.addText(bytes.begin(), bytes.end());
    out.finish();
    NumberReader::reportNonFinite(out.nonFinite, path);
    return true;
}

void ProfileFile::addText(const char* begin, const char* end) {
    NumberReader::forEachLine(begin, end, [this](const char* b, const char* e) { addLine(b, e); });
}

void ProfileFile::addLine(QStringRef line) {
    const QByteArray bytes = line.toUtf8();
    addLine(bytes.constData(), bytes.constData() + bytes.size());
}

void ProfileFile::addLine(const char* begin, const char* end) {
    // " *" is one space: the star after a space goes. Few lines hold a star at all.
    if (std::memchr(begin, '*', size_t(end - begin))) {
        replaced.resize(int(end - begin));
        char* out = replaced.data();
        for (const char* p = begin; p < end; ++p) {
            if (!(*p == '*' && p > begin && p[-1] == ' ')) {
                *out++ = *p;
            }
        }
        replaced.resize(int(out - replaced.data()));
        begin = replaced.constData();
        end = begin + replaced.size();
    }
    if (NumberReader::startsWith(begin, end, "period=")) {
        finish();
        open.periodText = NumberReader::text(begin + 7, end);
        const double value = NumberReader::toDouble(begin + 7, end); // 0 when it is no number
        if (std::none_of(periods.cbegin(), periods.cend(),
                         [value](double p) { return samePeriod(p, value); })) {
            periods.append(value);
        }
        inBlock = true;
    } else if (inBlock) {
        addSamples(begin, end);
    }
}

void ProfileFile::addSamples(const char* begin, const char* end) {
    // Split at every single space, empty parts kept: an empty or malformed part reads as 0. A block is
    // as a rule one line, whose samples are then kept in room of their exact size, filled as they are
    // parsed; a block of several lines grows by doubling and is cut to size when it ends.
    QVector<double>& samples = open.samples;
    const int count = NumberReader::countPieces(begin, end, ' ');
    if (samples.size() + count > samples.capacity()) {
        samples.reserve(samples.isEmpty() ? count : std::max(samples.size() + count, 2 * samples.capacity()));
    }
    double max = open.max;
    double min = open.min;
    int maxIndex = open.maxIndex;
    int j = 0;
    NumberReader::forEachBlankNumber(begin, end, [&](double read) {
        const double v = NumberReader::finiteOr0(read, nonFinite);
        samples.append(v);
        if (v > max) {
            max = v;
            maxIndex = j;
        }
        if (v < min) {
            min = v;
        }
        ++j;
    });
    open.max = max;
    open.min = min;
    open.maxIndex = maxIndex;
}

void ProfileFile::finish() {
    if (inBlock && !open.samples.isEmpty()) {
        if (open.samples.capacity() > open.samples.size()) {
            open.samples.squeeze();
        }
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
