#include "core/tools.h"

#include <cmath>

namespace {

// The calibration step's shape in one series: a stretch below 1.1 x minimum, then above 0.9 x maximum,
// then below again, and the return above. Both points stay 0 when the scan does not reach them.
struct StepScan {
    int start = 0;
    int end = 0;
    bool found = false;
};

template <typename Get> StepScan scanStep(Get value, int from, int to, double hiStart) {
    double lo = 100000;
    double hi = hiStart;
    for (int i = from; i <= to; ++i) {
        const double v = value(i);
        if (v < lo) {
            lo = v;
        }
        if (v > hi) {
            hi = v;
        }
    }
    lo *= 1.1;
    hi *= 0.9;
    StepScan out;
    int phase = 0;
    for (int i = from; i <= to && !out.found; ++i) {
        const double v = value(i);
        switch (phase) {
        case 0:
            if (v < lo) {
                out.start = i;
                phase = 1;
            }
            break;
        case 1:
            if (v > hi) {
                phase = 2;
            }
            break;
        case 2:
            if (v < lo) {
                phase = 3;
            }
            break;
        default:
            if (v > lo) {
                out.end = i;
                out.found = true;
            }
            break;
        }
    }
    return out;
}

bool isStepHour(const QString& hour) {
    static const QStringList hours = {"01", "05", "09", "13", "17", "21"};
    return hours.contains(hour);
}

} // namespace

QString Tools::removeStep(Data& data, bool remove) {
    if (data.npoints < 1 || !data.samples) {
        return QStringLiteral("");
    }
    QString name;
    int channel = 0;
    int tolerance = 0;
    if (data.filePath.endsWith(QLatin1String(".pnt"))) {
        name = data.filePath.right(19);
        channel = 6;
        tolerance = 4;
    } else if (data.filePath.endsWith(QLatin1String(".pnthr"))) {
        name = data.filePath.right(21);
        channel = 32;
        tolerance = 14;
    } else {
        return QStringLiteral("");
    }
    if (!isStepHour(name.mid(7, 2))) {
        return QStringLiteral("");
    }
    const double tres = data.tres;
    // A missing or absurd interval would make the point numbers meaningless (or not fit an int).
    if (!(tres > 0) || !std::isfinite(tres) || 365 / tres >= data.npoints) {
        return QStringLiteral("");
    }
    const int stepLength = int(15 / tres);
    const int stepFrom = int(300 / tres);
    const int stepTo = int(315 / tres);
    const int first = int(250 / tres);
    const int last = int(365 / tres);
    if (first < 1 || first >= data.npoints || last >= data.npoints) {
        return QStringLiteral("");
    }

    StepScan scan;
    const bool seriesExists = data.modules > 0 && data.rays > 0 && channel < data.channels;
    if (seriesExists) {
        const float* s = data.samples[0][channel][0];
        scan = scanStep([s](int i) { return double(s[i]); }, first, last, -100000);
    }
    const int start = scan.start;
    const int end = scan.end;
    const QString body =
        QStringLiteral("Точки: с %1 до %2\nЧисло точек: %3\n\nДолжно быть: 15 cек через 5 мин после начала "
                       "часа\n\ntres=%4 сек\nТочки: с %5 до %6\nЧисло точек: %7")
            .arg(start)
            .arg(end)
            .arg(end - start)
            .arg(tres, 0, 'f', 7)
            .arg(stepFrom)
            .arg(stepTo)
            .arg(stepLength);
    const int length = end - start;
    const bool plausible =
        start != 0 && end != 0 && length >= stepLength - tolerance && length <= stepLength + tolerance;
    // Flattening reads point start - 3 and writes up to end + 1; both must lie inside the series.
    const bool fits = seriesExists && start - 3 >= 0 && end + 1 < data.npoints;
    if (!plausible || !fits) {
        return QStringLiteral("Step error: ") + body;
    }
    if (!remove) {
        return QStringLiteral("Информация о ступеньке:\n\n") + body;
    }
    for (int m = 0; m < data.modules; ++m) {
        for (int c = 0; c < data.channels; ++c) {
            for (int r = 0; r < data.rays; ++r) {
                float* s = data.samples[m][c][r];
                const float v = s[start - 3];
                for (int p = start - 1; p <= end + 1; ++p) {
                    s[p] = v;
                }
            }
        }
    }
    return QStringLiteral("Ступенька удалена!\n\n") + body;
}

QVector<double> Tools::removeStepFromSeries(QVector<double> series, bool isPnt) {
    const int size = series.size();
    if (size == 0) {
        return series;
    }
    const double* s = series.constData();
    const StepScan scan = scanStep([s](int i) { return s[i]; }, 0, size - 1, -10000);
    if (!scan.found) {
        return series;
    }
    const int b = qMax(scan.start - 1, 0);
    const int a = qMin(scan.end + 1, size - 1);
    const int length = a - b;
    const int minLength = isPnt ? 146 : 1186;
    const int maxLength = isPnt ? 154 : 1214;
    if (length < minLength || length > maxLength) {
        return series;
    }
    const int from = scan.start < 12 ? a + 10 : b - 10;
    if (from < 0 || from >= size) {
        return series; // no neighbour to take the value from
    }
    const double v = series.at(from);
    for (int i = b; i <= a; ++i) {
        series[i] = v;
    }
    return series;
}
