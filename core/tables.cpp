#include "core/tables.h"

namespace {

QVector<QString> makeGraphColors() {
    const QVector<QString> sixteen = {"#FF0000", "#0000FF", "#00FF00", "#000000", "#FFAF00", "#00A0A0",
                                      "#FF00FF", "#800000", "#008000", "#000080", "#808000", "#800080",
                                      "#D0A080", "#00D0D0", "#D000C0", "#00D000"};
    return sixteen + sixteen;
}

QHash<QString, QPair<int, int>> makeStepWindows() {
    QHash<QString, QPair<int, int>> h;
    for (const char* hour : {"01", "05", "09", "13", "17", "21"}) {
        h.insert(QString::fromLatin1(hour), qMakePair(24100, 25500));
    }
    return h;
}

QVector<double> makeHalfStepGrid() {
    QVector<double> v;
    for (int i = 0; i < 19; ++i) {
        v.append(1.0 + 0.5 * i);
    }
    return v;
}

using Range = QPair<double, double>;

Range at(double p) {
    return qMakePair(p, p);
}
Range span(double lo, double hi) {
    return qMakePair(lo, hi);
}

QHash<QString, double> makeRayDeclinations() {
    struct Row {
        int position;
        int module;
        double dec[8];
    };
    static const Row rows[] = {
        {1, 1, {42.18, 41.765, 41.345, 40.935, 40.515, 40.1, 39.68, 39.26}},
        {1, 2, {38.845, 38.425, 38.005, 37.575, 37.155, 36.73, 36.305, 35.88}},
        {1, 3, {35.405, 34.975, 34.55, 34.12, 33.68, 33.245, 32.81, 32.37}},
        {1, 4, {31.94, 31.5, 31.06, 30.61, 30.17, 29.725, 29.275, 28.825}},
        {1, 5, {28.33, 27.875, 27.42, 26.965, 26.505, 26.045, 25.575, 25.115}},
        {1, 6, {24.645, 24.18, 23.71, 23.235, 22.755, 22.28, 21.795, 21.31}},
        {2, 1, {20.775, 20.285, 19.79, 19.29, 18.795, 18.29, 17.785, 17.275}},
        {2, 2, {16.765, 16.25, 15.73, 15.205, 14.675, 14.145, 13.605, 13.065}},
        {2, 3, {12.465, 11.91, 11.355, 10.79, 10.22, 9.655, 9.075, 8.485}},
        {2, 4, {7.9, 7.31, 6.7, 6.085, 5.465, 4.835, 4.2, 3.555}},
        {2, 5, {2.835, 2.17, 1.5, 0.805, 0.105, -0.6, -1.33, -2.065}},
        {2, 6, {-2.815, -3.58, -4.365, -5.17, -6.0, -6.845, -7.72, -8.47}},
        {0, 3, {55.22, 54.88, 54.475, 54.075, 53.665, 53.265, 52.865, 52.455}},
        {0, 4, {52.055, 51.65, 51.25, 50.845, 50.435, 50.035, 49.625, 49.22}},
        {0, 5, {48.775, 48.365, 47.965, 47.555, 47.145, 46.735, 46.333, 45.92}},
        {0, 6, {45.515, 45.105, 44.695, 44.285, 43.875, 43.46, 43.045, 42.635}},
    };
    QHash<QString, double> h;
    for (const Row& row : rows) {
        for (int r = 0; r < 8; ++r) {
            h.insert(QStringLiteral("m%1_r%2_p%3").arg(row.module).arg(r + 1).arg(row.position), row.dec[r]);
        }
    }
    return h;
}

QVector<BeamTableRow> makeBeamTableN4() {
    static const double dec[160] = {
        86.61, 86.37, 86.14, 85.9,  85.67, 85.43, 85.21, 84.97, 84.74, 84.51, 84.28, 84.04, 83.81, 83.58,
        83.35, 83.13, 82.88, 82.66, 82.43, 82.2,  81.97, 81.75, 81.52, 81.3,  81.07, 80.85, 80.63, 80.4,
        80.18, 79.96, 79.73, 79.52, 79.27, 79.06, 78.83, 78.62, 78.4,  78.17, 77.96, 77.74, 77.52, 77.3,
        77.09, 76.87, 76.65, 76.43, 76.25, 76.0,  75.77, 75.56, 75.34, 75.13, 74.91, 74.7,  74.48, 74.27,
        74.06, 73.84, 73.63, 73.41, 73.2,  72.99, 72.78, 72.57, 72.34, 72.13, 71.92, 71.71, 71.5,  71.29,
        71.08, 70.87, 70.66, 70.45, 70.24, 70.03, 69.83, 69.61, 69.41, 69.2,  68.98, 68.77, 68.56, 68.35,
        68.15, 67.94, 67.74, 67.53, 67.32, 67.12, 66.91, 66.7,  66.5,  66.29, 66.09, 65.88, 65.66, 65.46,
        65.25, 65.05, 64.84, 64.64, 64.43, 64.23, 64.02, 63.82, 63.62, 63.41, 63.21, 63.0,  62.8,  62.6,
        62.38, 62.18, 61.97, 61.77, 61.56, 61.36, 61.16, 60.96, 60.76, 60.55, 60.35, 60.14, 59.94, 59.74,
        59.54, 59.34, 59.12, 58.92, 58.72, 58.52, 58.31, 58.11, 57.91, 57.7,  57.5,  57.3,  57.1,  56.9,
        56.69, 56.49, 56.29, 56.09, 55.88, 55.67, 55.47, 55.27, 55.07, 54.87, 54.67, 54.46, 54.26, 54.06,
        53.86, 53.66, 53.45, 53.25, 53.05, 52.85};
    QVector<BeamTableRow> rows;
    rows.reserve(160);
    for (int i = 0; i < 160; ++i) {
        const int block = i / 16;
        const int inBlock = i % 16;
        const int module = 2 * block + 1 + inBlock % 2;
        const int ray = inBlock / 2 + 1;
        const int n = module + 1;
        const QString label = QStringLiteral("%1 %2 %3").arg(10 + n / 4).arg((n / 2) % 2).arg(n % 2);
        rows.append({module, ray, label, dec[i]});
    }
    return rows;
}

} // namespace

const QVector<QString> graphColors = makeGraphColors();

const QHash<QString, QPair<int, int>> stepWindowByHour = makeStepWindows();

const QVector<double> halfStepGrid = makeHalfStepGrid();

const QVector<QPair<double, double>> interferencePeriodsAll = {at(0.025),
                                                               at(0.0313),
                                                               span(0.0332, 0.0334),
                                                               at(0.0417),
                                                               at(0.0455),
                                                               span(0.0554, 0.0556),
                                                               at(0.0588),
                                                               span(0.0624, 0.0626),
                                                               span(0.0714, 0.0715),
                                                               at(0.0769),
                                                               span(0.0833, 0.0834),
                                                               span(0.0996, 0.1006),
                                                               span(0.1248, 0.1253),
                                                               span(0.1428, 0.143),
                                                               span(0.1667, 0.1668),
                                                               span(0.2495, 0.2507),
                                                               span(0.3317, 0.333),
                                                               span(0.4962, 0.498),
                                                               at(0.5),
                                                               span(0.8, 0.806),
                                                               span(0.999, 1.0009),
                                                               span(1.999, 2.0009),
                                                               span(2.999, 3.0009),
                                                               span(3.999, 4.0009)};

// The stored list of this site also held the pair (0.0666, 0.04), an inverted range that matches no
// period; it is left out.
const QVector<QPair<double, double>> interferencePeriodsN2 = {span(0.0397, 0.0398),
                                                              at(0.066),
                                                              span(0.1427, 0.1431),
                                                              span(0.2097, 0.2099),
                                                              at(0.2508),
                                                              span(0.3347, 0.3358),
                                                              at(0.04),
                                                              at(0.4956),
                                                              span(0.5048, 0.5054),
                                                              at(0.0909),
                                                              span(0.984, 0.9888),
                                                              span(0.9912, 0.9936),
                                                              span(0.1094, 0.1112),
                                                              span(1.0209, 1.0234),
                                                              span(1.026, 1.0311),
                                                              span(1.9969, 2.0166),
                                                              span(4.0134, 4.0531)};

const QVector<QPair<double, double>> interferencePeriodsN2Modules456 = {at(0.04),
                                                                        span(0.0666, 0.0667),
                                                                        at(0.069),
                                                                        at(0.0699),
                                                                        at(0.0776),
                                                                        span(0.0901, 0.0909),
                                                                        span(0.1111, 0.1112),
                                                                        at(0.1242),
                                                                        span(0.1552, 0.1553),
                                                                        span(0.1803, 0.1804),
                                                                        span(0.2001, 0.2002),
                                                                        span(0.2005, 0.2007),
                                                                        span(0.2071, 0.2072),
                                                                        span(0.2243, 0.2246),
                                                                        span(0.2508, 0.251),
                                                                        span(0.3104, 0.3113),
                                                                        span(0.3127, 0.313),
                                                                        span(0.4938, 0.495),
                                                                        span(0.506, 0.5073),
                                                                        span(0.6002, 0.601),
                                                                        at(0.1803),
                                                                        span(0.9912, 0.9936),
                                                                        span(1.9969, 2.0366),
                                                                        span(4.0134, 4.0531)};

const QVector<QPair<double, double>> interferencePeriodsN0 = {
    at(0.0252), at(0.0261),           at(0.0273),           span(0.029, 0.0292), at(0.0323),
    at(0.0327), span(0.0347, 0.0348), span(0.0372, 0.0374), at(0.0407),          at(0.1211),
    at(0.1343), span(0.231, 0.2313),  span(0.2424, 0.2425), at(0.7964),          at(0.798),
    at(0.8304)};

const QVector<QPair<double, double>> interferencePeriodsN0Module3 = {
    span(0.0263, 0.0264), span(0.0277, 0.0278), span(0.0309, 0.0312), at(0.0357),
    at(0.0384),           at(0.0399),           span(0.0428, 0.0429), at(0.0569)};

const QVector<QPair<double, double>> interferencePeriodsN4 = {
    at(0.0067), at(0.01),   at(0.0111),          span(0.0137, 0.0138), at(0.0159),
    at(0.02),   at(0.0222), at(0.0306),          at(0.0319),           at(0.04),
    at(0.05),   at(0.0783), at(0.0882),          at(0.1119),           at(0.129),
    at(0.1549), at(0.1678), span(0.1749, 0.175), at(0.2085),           at(0.2249),
    at(0.2284), at(0.2309), at(0.2563),          at(0.3358),           at(0.3739),
    at(0.5921), at(0.5939), at(0.6655),          at(0.6756),           at(0.7743),
    at(0.9942), at(0.9967), at(1.0194),          at(1.2055),           at(1.2783),
    at(1.2864)};

const QVector<QPair<double, double>> interferencePeriodsExtra = {
    span(0.0499, 0.0504), span(0.0625, 0.0626), span(0.1249, 0.1251), at(0.1429),          span(0.16, 0.1637),
    span(0.2499, 0.2505), span(0.3333, 0.3344), span(0.4992, 0.5041), span(0.9985, 1.0183)};

const QHash<QString, double> rayDeclinations = makeRayDeclinations();

const QVector<BeamTableRow> beamTableN4 = makeBeamTableN4();
