#include "core/tables.h"
#include "core/tools.h"

#include <algorithm>

namespace {

// The shift code of a series: "0" and -shift for shifts up to zero, "1" and the shift above it.
QString shiftCode(int shift) {
    if (shift <= 0) {
        return QStringLiteral("0") + QString::number(-qint64(shift));
    }
    return QStringLiteral("1") + QString::number(shift);
}

void appendRun(QVector<int>& list, int from, int to, int step) {
    for (int v = from; v <= to; v += step) {
        list.append(v);
    }
}

void appendValues(QVector<int>& list, std::initializer_list<int> values) {
    for (int v : values) {
        list.append(v);
    }
}

QVector<int> buildDmList57() {
    QVector<int> l;
    appendRun(l, 0, 80, 4);
    appendRun(l, 88, 160, 8);
    appendRun(l, 176, 320, 16);
    appendRun(l, 352, 640, 32);
    appendRun(l, 704, 1024, 64);
    return l;
}

QVector<int> buildDmListN4() {
    QVector<int> l;
    appendRun(l, 0, 40, 1);
    appendRun(l, 42, 66, 2);
    appendRun(l, 69, 93, 3);
    appendRun(l, 97, 121, 4);
    appendRun(l, 126, 146, 5);
    appendRun(l, 152, 176, 6);
    appendValues(l, {183, 190});
    appendRun(l, 197, 229, 8);
    appendValues(l, {238, 247, 256, 266});
    appendRun(l, 276, 309, 11);
    appendValues(l, {321, 333, 346, 359, 373, 387, 402, 417, 433, 450, 467, 485, 504, 523, 543, 564,
                     586, 609, 632, 656, 681, 707, 734, 762, 792, 823, 855, 888, 922, 958, 995});
    return l;
}

QVector<int> buildDmListOther() {
    QVector<int> l;
    appendRun(l, 0, 40, 1);
    appendRun(l, 42, 68, 2);
    appendRun(l, 71, 95, 3);
    appendRun(l, 99, 123, 4);
    appendRun(l, 128, 148, 5);
    appendRun(l, 154, 178, 6);
    appendRun(l, 185, 206, 7);
    appendValues(l, {214, 222});
    appendRun(l, 230, 257, 9);
    appendValues(l, {267, 277, 287, 298});
    appendRun(l, 309, 345, 12);
    appendValues(l, {358, 371, 385, 399, 414, 430, 446, 463, 480, 498, 517, 537, 557, 578, 600,
                     623, 647, 672, 698, 725, 753, 782, 812, 843, 875, 908, 943, 979, 1016});
    return l;
}

bool inAnyRange(double period, const QVector<QPair<double, double>>& ranges) {
    for (const auto& r : ranges) {
        if (r.first - 0.0001 < period && period < r.second + 0.0001) {
            return true;
        }
    }
    return false;
}

} // namespace

QString Tools::fourierFileName(const QString& prefix, int shift, int averages, bool withNull) {
    const QString n = withNull ? QStringLiteral("1") : QStringLiteral("0");
    if (!prefix.isEmpty()) {
        return QStringLiteral("%1_f%2_n%3_av%4.txt")
            .arg(prefix, shiftCode(shift), n, QString::number(averages));
    }
    return QStringLiteral("f%1_n%2_av%3.txt").arg(shiftCode(shift), n, QString::number(averages));
}

QString Tools::fourierFileBase(int shift, int averages, bool withNull) {
    return QStringLiteral("f%1_n%2_av%3")
        .arg(shiftCode(shift), withNull ? QStringLiteral("1") : QStringLiteral("0"),
             QString::number(averages));
}

QString Tools::fourierFileBaseD(int shift, int averages, int withNull, int dm) {
    return QStringLiteral("f%1_n%2_av%3_d%4")
        .arg(shiftCode(shift), QString::number(withNull), QString::number(averages), QString::number(dm));
}

QString Tools::mapFileName(const QString& name, int points, int startPoint, int blocks,
                           const QString& noiseMethod, int medianWindow) {
    const QString head =
        QStringLiteral("map_%1_np%2_sp%3_b%4_")
            .arg(name, QString::number(points), QString::number(startPoint), QString::number(blocks));
    if (noiseMethod == QLatin1String("median")) {
        return head + QStringLiteral("median%1.txt").arg(medianWindow);
    }
    if (noiseMethod == QLatin1String("polinom")) {
        return head + QStringLiteral("polinom.txt");
    }
    return QString();
}

QVector<int> Tools::dmList57() {
    static const QVector<int> list = buildDmList57();
    return list;
}

QVector<int> Tools::dmList(bool isN4) {
    static const QVector<int> n4 = buildDmListN4();
    static const QVector<int> other = buildDmListOther();
    return isN4 ? n4 : other;
}

bool Tools::isInterferencePeriod(double period, const QString& siteCode, int module, int ray, bool extra) {
    Q_UNUSED(ray);
    if (inAnyRange(period, interferencePeriodsAll)) {
        return true;
    }
    if (siteCode == QLatin1String("N2")) {
        if (inAnyRange(period, interferencePeriodsN2)) {
            return true;
        }
        if (module >= 4 && module <= 6 && inAnyRange(period, interferencePeriodsN2Modules456)) {
            return true;
        }
    }
    if (siteCode == QLatin1String("N0")) {
        if (inAnyRange(period, interferencePeriodsN0)) {
            return true;
        }
        if (module == 3 && inAnyRange(period, interferencePeriodsN0Module3)) {
            return true;
        }
    }
    if (siteCode == QLatin1String("N4") && inAnyRange(period, interferencePeriodsN4)) {
        return true;
    }
    return extra && inAnyRange(period, interferencePeriodsExtra);
}

int Tools::levelOf(double value, double base) {
    const double r = value / std::max(4.0, base);
    if (r < 1.35) {
        return 1;
    }
    double c = 1.35;
    for (int i = 2; i <= 18; ++i) {
        c = c * c;
        if (r < c) {
            return i;
        }
    }
    return 1;
}

int Tools::snrLevel(double snr) {
    if (snr < 5) {
        return 1;
    }
    if (snr < 6) {
        return 2;
    }
    if (snr < 7) {
        return 3;
    }
    if (snr < 8) {
        return 4;
    }
    if (snr < 9) {
        return 5;
    }
    if (snr < 10) {
        return 6;
    }
    return 7;
}

QString Tools::add90Seconds(const QString& hhmmss) {
    int hours = hhmmss.left(2).toInt();
    int minutes = hhmmss.mid(2, 2).toInt();
    int seconds = hhmmss.right(2).toInt();
    if (seconds == 30) {
        minutes += 2;
        seconds = 0;
    } else if (seconds == 0) {
        minutes += 1;
        seconds = 30;
    }
    if (minutes == 60) {
        hours += 1;
        minutes = 0;
    } else if (minutes == 61) {
        hours += 1;
        minutes = 1;
    }
    const QChar fill(QLatin1Char('0'));
    return QStringLiteral("%1%2%3")
        .arg(hours, 2, 10, fill)
        .arg(minutes, 2, 10, fill)
        .arg(seconds, 2, 10, fill);
}
