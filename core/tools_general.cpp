#include "core/tools.h"

#include "core/filebytes.h"
#include "core/numberreader.h"

#include <QDate>
#include <QFile>
#include <QTextStream>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Double to int without undefined behaviour: NaN gives 0, out-of-range values saturate.
int saturate(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= double(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (v <= double(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return int(v);
}

// Exact powers of ten: every one up to 1e22 is representable, so x * 10^k rounds only once.
constexpr double tens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

// One number per line; lines of white space only are left out.
QVector<double> readNumbers(const QString& path) {
    QVector<double> out;
    FileBytes bytes(path);
    if (!bytes.opened()) {
        return out;
    }
    bytes.trimAsTextStream(true);
    NumberReader::forEachLine(bytes.begin(), bytes.end(), [&](const char* line, const char* end) {
        bool blank = true;
        bool ascii = true;
        for (const char* p = line; p < end; ++p) {
            blank = blank && NumberReader::isSpace(*p);
            ascii = ascii && static_cast<unsigned char>(*p) < 0x80;
        }
        if (!blank && (ascii || !NumberReader::text(line, end).trimmed().isEmpty())) {
            out << NumberReader::toDouble(line, end);
        }
    });
    return out;
}

} // namespace

bool Tools::isTimeString(const QString& text) {
    if (text.size() != 8 || text.at(2) != QLatin1Char(':') || text.at(5) != QLatin1Char(':')) {
        return false;
    }
    const int h = text.mid(0, 2).toInt();
    const int m = text.mid(3, 2).toInt();
    const int s = text.mid(6, 2).toInt();
    return h >= 0 && h <= 24 && m >= 0 && m <= 59 && s >= 0 && s <= 59;
}

QTime Tools::timeFromString(const QString& text) {
    if (!isTimeString(text)) {
        return QTime(0, 0, 0);
    }
    return QTime(text.mid(0, 2).toInt(), text.mid(3, 2).toInt(), text.mid(6, 2).toInt());
}

QString Tools::addSecsToTimeString(const QString& text, int secs) {
    if (!isTimeString(text)) {
        return QStringLiteral("");
    }
    const QTime t = timeFromString(text);
    if (!t.isValid()) {
        return QStringLiteral("");
    }
    return t.addSecs(secs).toString(QStringLiteral("hh:mm:ss"));
}

Tools::DaysMs Tools::splitDaysMs(double ms) {
    const double days = std::trunc(ms / 86400000.0);
    return {saturate(days), saturate(ms - days * 86400000.0)};
}

Tools::NearestMultiple Tools::nearestMultiple(double t, double period) {
    const double q = t / period;
    int n = saturate(q);
    if (q - n > 0.5 && n < std::numeric_limits<int>::max()) {
        ++n;
    }
    return {n, t - n * period};
}

QString Tools::dateDdMmYyToYyyyMmDd(const QString& d) {
    return QStringLiteral("20") + d.right(2) + QLatin1Char('.') + d.mid(3, 2) + QLatin1Char('.') + d.left(2);
}

double Tools::power(double x, int n) {
    if (n == 0) {
        return 1;
    }
    // Same product order as x * power(x, n - 1), without the recursion depth.
    double r = x;
    for (int i = 1; i < n; ++i) {
        r = x * r;
    }
    return r;
}

float Tools::power(float x, int n) {
    if (n == 0) {
        return 1;
    }
    float r = x;
    for (int i = 1; i < n; ++i) {
        r = x * r;
    }
    return r;
}

int Tools::powerInt(int a, int n) {
    if (n == 0) {
        return 1;
    }
    if (n <= 1) {
        return a;
    }
    // Unsigned arithmetic wraps without undefined behaviour; squaring keeps huge n cheap.
    uint32_t base = uint32_t(a);
    uint32_t result = 1;
    uint32_t e = uint32_t(n);
    while (e) {
        if (e & 1u) {
            result *= base;
        }
        base *= base;
        e >>= 1;
    }
    return int(result);
}

int Tools::pointsAfterHalving(int points, int halvings, bool withNull) {
    qint64 q = points;
    if (halvings >= 1) {
        q = halvings >= 63 ? 0 : q / (qint64(1) << halvings);
    } else if (halvings < 0) {
        q = points / 2;
    }
    if (withNull) {
        q *= 2;
    }
    return int(qBound<qint64>(std::numeric_limits<int>::min(), q, std::numeric_limits<int>::max()));
}

int Tools::roundHalfDown(double x) {
    return saturate(x >= 0 ? std::ceil(x - 0.5) : std::floor(x + 0.5));
}

int Tools::doublingsBelowHalf(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return -1;
    }
    const double half = a / 2;
    if (b >= half) {
        return 0;
    }
    if (b <= 0) {
        return -1; // doubling never gets there
    }
    int j = 0;
    while (b * 2 < half) {
        b *= 2;
        ++j;
    }
    return j;
}

int Tools::decimalsFor(double x) {
    if (std::isnan(x) || x <= 0) {
        return 2;
    }
    if (x > 100) {
        return 1;
    }
    if (x >= 1) {
        return 2;
    }
    // Below 1e-9 the count stops at 10 decimals.
    int k = 0;
    while (k < 8 && x * tens[k + 1] < 1) {
        ++k;
    }
    return 2 + k;
}

bool Tools::valueIsSane(double x) {
    if (std::isnan(x)) {
        return false;
    }
    const double a = std::fabs(x);
    return !(a > 100000) && !(a > 0 && a < 0.00001);
}

int Tools::wrapIndex(int a, int n) {
    if (a < n) {
        return a;
    }
    if (n == 0 || n == -1) {
        return 0;
    }
    return a % n;
}

int Tools::indexOfString(const QVector<QString>& list, const QString& s) {
    const int i = list.indexOf(s);
    return i < 0 ? 0 : i;
}

int Tools::stepIndex(int index, int size, bool forward, bool wrapForward) {
    if (forward) {
        if (index < size - 1) {
            return index + 1;
        }
        return wrapForward ? 0 : index;
    }
    return index > 0 ? index - 1 : size - 1;
}

QVector<double> Tools::filledVector(double value, int count) {
    return count <= 0 ? QVector<double>() : QVector<double>(count, value);
}

bool Tools::greaterString(const QString& a, const QString& b) {
    return b < a;
}

bool Tools::lessString(const QString& a, const QString& b) {
    return a < b;
}

bool Tools::greaterLeadingNumber(const QString& a, const QString& b) {
    return a.section(QLatin1Char('_'), 0, 0).toDouble() > b.section(QLatin1Char('_'), 0, 0).toDouble();
}

double Tools::fractionOfRatio(double a, double b) {
    const double q = a / b;
    return q - std::trunc(q);
}

double Tools::wholeOfRatio(double a, double b) {
    return std::trunc(a / b);
}

int Tools::firstDecimalPlace(double fraction) {
    const double f = std::fabs(fraction - std::trunc(fraction));
    for (int k = 1; k <= 9; ++k) {
        if (std::floor(f * tens[k]) >= 1) {
            return k;
        }
    }
    return 0;
}

QString Tools::nextDay(const QString& yyyyMMdd) {
    const QDate d = QDate::fromString(yyyyMMdd, QStringLiteral("yyyy.MM.dd"));
    return d.isValid() ? d.addDays(1).toString(QStringLiteral("yyyy.MM.dd")) : QString();
}

bool Tools::parseKeyValue(const QString& line, QHash<QString, QString>& values) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) {
        return false;
    }
    const QString key = line.left(eq).trimmed();
    if (key.isEmpty()) {
        return false;
    }
    values.insert(key, line.mid(eq + 1).trimmed());
    return true;
}

bool Tools::isNearAny(const QVector<double>& list, double value, double tolerance) {
    for (double v : list) {
        if (std::fabs(v - value) <= tolerance) {
            return true;
        }
    }
    return false;
}

QString Tools::cacheName(const QStringList& checkedDirs, int dirCount) {
    if (checkedDirs.isEmpty()) {
        return QString();
    }
    if (checkedDirs.size() == dirCount) {
        return QStringLiteral("all");
    }
    return cacheYearsName(checkedDirs);
}

QString Tools::cacheYearsName(const QStringList& checkedDirs) {
    if (checkedDirs.contains(QStringLiteral("cache_all"))) {
        return QStringLiteral("all");
    }
    QStringList parts;
    for (const QString& d : checkedDirs) {
        parts << (d.startsWith(QLatin1String("cache_")) ? d.mid(6) : d);
    }
    return parts.join(QLatin1Char('_'));
}

QVector<double> Tools::readDoubleArr(const QString& path) {
    return readNumbers(path);
}

QVector<float> Tools::readFloatArr(const QString& path) {
    QVector<float> out;
    for (double v : readNumbers(path)) {
        out << float(v);
    }
    return out;
}

QVector<int> Tools::readArr(const QString& path) {
    QVector<int> out;
    for (double v : readNumbers(path)) {
        out << saturate(v);
    }
    return out;
}

bool Tools::writeArrToFile(const QString& path, const QVector<double>& values) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    QTextStream out(&f);
    for (double v : values) {
        out << QString::number(v, 'f', 3) << '\n';
    }
    return true;
}

bool Tools::addArrToFile(const QString& path, const QVector<double>& values) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        return false;
    }
    QStringList parts;
    for (double v : values) {
        parts << QString::number(v, 'f', 4);
    }
    QTextStream out(&f);
    out << parts.join(QLatin1Char(' ')) << '\n';
    return true;
}
