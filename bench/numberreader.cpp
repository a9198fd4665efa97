// Times the number reader on profile-like text (lines of 512 blank-separated decimals) against a bare
// std::from_chars loop over the same bytes, and against the toolkit's conversion of split pieces that the
// readers used before. Then 500 average-profile files of 10 such lines read by ProfileFile::read
// against reading the same files and parsing them with the bare loop. Goal: within 1.3x of the bare loop.
#include "core/numberreader.h"
#include "benchclock.h"
#include "profiles/profilefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringRef>
#include <QTemporaryDir>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Bench::Clock;

QByteArray profileText(int lines, int perLine, int linesPerPeriod) {
    QByteArray text;
    unsigned state = 2025;
    for (int l = 0; l < lines; ++l) {
        if (l % linesPerPeriod == 0) {
            text += "period=" + QByteArray::number(0.5 + l / linesPerPeriod * 0.001, 'f', 4) + "\n";
        }
        for (int i = 0; i < perLine; ++i) {
            state = state * 1664525u + 1013904223u;
            const double v = (double(state >> 8) / double(1 << 24) - 0.3) * 40;
            text += QByteArray::number(v, 'f', 6);
            text += i + 1 < perLine ? ' ' : '\n';
        }
    }
    return text;
}

// The plainest fast way: every piece between blanks and line ends through std::from_chars into a vector.
double bareSum(const char* p, const char* end, std::vector<double>& out) {
    out.clear();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != ' ' && *q != '\n') {
            ++q;
        }
        double v = 0;
        if (q > p && *p != 'p') {
            std::from_chars(p, q, v);
            out.push_back(v);
        }
        p = q + 1;
    }
    return out.empty() ? 0 : out.back();
}

double readerSum(const char* p, const char* end, std::vector<double>& out) {
    out.clear();
    const char* line = nullptr;
    const char* lineEnd = nullptr;
    qint64 nonFinite = 0;
    while (NumberReader::nextLine(p, end, line, lineEnd)) {
        if (*line == 'p') {
            continue;
        }
        NumberReader::forEachPiece(line, lineEnd, ' ', [&](const char* b, const char* e) {
            out.push_back(NumberReader::finiteOr0(NumberReader::toDouble(b, e), nonFinite));
        });
    }
    return out.empty() ? 0 : out.back();
}

double toolkitSum(const QString& text, std::vector<double>& out) {
    out.clear();
    for (const QStringRef& line : text.splitRef(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('p'))) {
            continue;
        }
        for (const QStringRef& piece : line.split(QLatin1Char(' '))) {
            out.push_back(piece.toDouble());
        }
    }
    return out.empty() ? 0 : out.back();
}

template <typename F> double fastestMs(F&& run) {
    run();
    double best = 1e300;
    for (int rep = 0; rep < 7; ++rep) {
        const auto t0 = Clock::now();
        run();
        best = std::min(best, Bench::msSince(t0));
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray text = profileText(5000, 512, 500);
    const char* b = text.constData();
    const char* e = b + text.size();
    std::vector<double> values;
    values.reserve(5000 * 512);
    volatile double sink = 0;

    const double bare = fastestMs([&] { sink = sink + bareSum(b, e, values); });
    const std::size_t count = values.size();
    const double reader = fastestMs([&] { sink = sink + readerSum(b, e, values); });
    if (values.size() != count) {
        std::printf("count differs: %zu against %zu\n", values.size(), count);
        return 1;
    }
    const QString decoded = QString::fromUtf8(text);
    const double toolkit = fastestMs([&] { sink = sink + toolkitSum(decoded, values); });
    std::printf("%zu numbers, %.1f MB of text\n", count, text.size() / 1e6);
    std::printf("bare from_chars loop   %8.1f ms  (%.1f ns a number)\n", bare, bare * 1e6 / double(count));
    std::printf("number reader          %8.1f ms  (%.1f ns a number, %.2fx the bare loop)\n", reader,
                reader * 1e6 / double(count), reader / bare);
    std::printf("QStringRef::toDouble   %8.1f ms  (%.1f ns a number, %.2fx the bare loop)\n", toolkit,
                toolkit * 1e6 / double(count), toolkit / bare);

    // Average-profile files as the pipeline writes them: 10 periods of 512 samples, 500 files.
    QTemporaryDir dir;
    const QByteArray oneFile = profileText(10, 512, 1);
    QStringList paths;
    for (int i = 0; i < 500; ++i) {
        paths << dir.filePath(QStringLiteral("p2020.01.%1_dm10_p0.5_s4.txt").arg(i));
        QFile file(paths.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(oneFile) != oneFile.size()) {
            return 1;
        }
    }
    QByteArray buffer;
    const double bareFiles = fastestMs([&] {
        for (const QString& path : paths) {
            QFile f(path);
            f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            buffer.resize(int(f.size()));
            f.read(buffer.data(), buffer.size());
            sink = sink + bareSum(buffer.constData(), buffer.constData() + buffer.size(), values);
        }
    });
    ProfileFile profile;
    const double profileFiles = fastestMs([&] {
        for (const QString& path : paths) {
            ProfileFile::read(path, profile);
        }
    });
    std::printf(
        "500 profile files of 10 x 512: bare read and loop %.1f ms, ProfileFile::read %.1f ms (%.2fx)\n",
        bareFiles, profileFiles, profileFiles / bareFiles);
    return 0;
}
