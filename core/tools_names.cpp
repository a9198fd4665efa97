#include "core/tables.h"
#include "core/tools.h"

#include <QRegExp>

#include <climits>
#include <cmath>

namespace {

QString twoDigits(double whole) {
    return QStringLiteral("%1").arg(whole, 2, 'f', 0, QLatin1Char('0'));
}

// The declination of a ray from the tables of the sites: rayDeclinations for positions 0 to 2,
// the N4 beam table for position 4. found is false when the table has no such ray.
double rayDeclination(const QString& module, const QString& ray, int position, bool& found) {
    found = false;
    if (position >= 0 && position <= 2) {
        const QString key = QStringLiteral("m%1_r%2_p%3").arg(module, ray, QString::number(position));
        const auto it = rayDeclinations.constFind(key);
        if (it != rayDeclinations.constEnd()) {
            found = true;
            return it.value();
        }
        return 0;
    }
    if (position == 4) {
        const int m = module.toInt();
        const int r = ray.toInt();
        for (const auto& row : beamTableN4) {
            if (row.module == m && row.ray == r) {
                found = true;
                return row.declination;
            }
        }
    }
    return 0;
}

// Sign-aware reading of a dd:mm:ss text: a leading sign shifts the fixed field positions by one.
double dmsValue(const QString& text) {
    QString body = text;
    double sign = 1;
    if (body.startsWith(QLatin1Char('-'))) {
        sign = -1;
        body = body.mid(1);
    } else if (body.startsWith(QLatin1Char('+'))) {
        body = body.mid(1);
    }
    const double d = body.left(2).toDouble();
    const double m = body.mid(3, 2).toDouble();
    const double s = body.right(2).toDouble();
    return sign * ((d + m / 60) + s / 3600);
}

QString dmsFromDigits(const QString& digits) {
    return QStringLiteral("%1:%2:%3").arg(digits.left(2), digits.mid(2, 2), digits.right(2));
}

} // namespace

QString Tools::nameOfN(const QString& path) {
    QRegExp rx(QStringLiteral("/(N\\d)/"));
    if (rx.indexIn(path) < 0) {
        return QString();
    }
    return rx.cap(1);
}

QString Tools::normalizeJName(const QString& name) {
    QRegExp rx(QStringLiteral("^J(\\d\\d\\d\\d)(.)(\\d+)"));
    if (rx.indexIn(name) < 0) {
        return QString();
    }
    return QStringLiteral("J%1%2%3").arg(rx.cap(1), rx.cap(2), rx.cap(3).left(4));
}

QString Tools::toDms(double x) {
    const bool negative = x < 0;
    const double a = std::fabs(x);
    const double d = std::trunc(a);
    const double f = (a - d) * 60;
    const double m = std::trunc(f);
    const double s = std::trunc((f - m) * 60);
    const QString text = QStringLiteral("%1:%2:%3").arg(twoDigits(d), twoDigits(m), twoDigits(s));
    return negative ? QStringLiteral("-") + text : text;
}

double Tools::dmsToHours(const QString& text) {
    return dmsValue(text);
}

double Tools::cosOfDms(const QString& text) {
    return std::cos(dmsValue(text) * 3.1415926 / 180);
}

bool Tools::pointsOverCos(int n0, double cosine, int& n) {
    if (!(cosine > 1e-5)) {
        return false;
    }
    const double q = double(n0) / cosine;
    if (!(q <= double(INT_MAX) && q >= double(INT_MIN))) {
        return false;
    }
    n = int(q);
    return true;
}

QString Tools::jNameFromBeam(const QString& module, const QString& ray, const QString& raHours,
                             const QString& raMinutes, int position) {
    if (module == QLatin1String("0") || ray == QLatin1String("0") || raHours == QLatin1String("*") ||
        raMinutes == QLatin1String("*") || position < 0 || position > 4 || position == 3) {
        return QString();
    }
    bool found = false;
    const double x = rayDeclination(module, ray, position, found);
    if (!found || (position == 4 && x < 0)) {
        return QString();
    }
    const QString t = toDms(x);
    if (!t.startsWith(QLatin1Char('-'))) {
        return QStringLiteral("J%1%2+%3%4").arg(raHours, raMinutes.left(2), t.left(2), t.mid(3, 2));
    }
    return QStringLiteral("J%1%2-%3%4").arg(raHours, raMinutes.left(2), t.mid(1, 2), t.mid(4, 2));
}

QString Tools::decFromFileName(const QString& fileName, int position) {
    QRegExp coded(QStringLiteral("\\d{6}_d?(\\d+)_m\\d{1,2}_r\\d"));
    if (coded.indexIn(fileName) >= 0) {
        return dmsFromDigits(coded.cap(1));
    }
    if (position < 0) {
        return QString();
    }
    QRegExp beam(QStringLiteral("_m(\\d{1,2})_r(\\d)"));
    if (beam.indexIn(fileName) < 0) {
        return QString();
    }
    if (position == 3 || position > 4) {
        return QString();
    }
    // Read as integers, so "_m03_" finds the ray of module 3.
    const QString module = QString::number(beam.cap(1).toInt());
    const QString ray = QString::number(beam.cap(2).toInt());
    bool found = false;
    const double x = rayDeclination(module, ray, position, found);
    return found ? toDms(x) : QString();
}

QString Tools::sourceNameFromPath(const QString& path, const QString& siteCode, bool withBeam) {
    QString ra, dec, module, ray;
    bool signedDec = false;
    QRegExp p1(QStringLiteral("/a(\\d+)_d(\\d+)_m(\\d)_r(\\d)"));
    QRegExp p2(QStringLiteral("/(\\d{6})_(\\d{6})_m(\\d{1,2})_r(\\d)"));
    QRegExp p3(QStringLiteral("(\\d\\d\\d\\d)([\\+\\-]\\d\\d\\d\\d)_(\\d)-(\\d)"));
    QRegExp p4(QStringLiteral("[^\\d](\\d+)_m(\\d+)_r(\\d)"));
    if (p1.indexIn(path) >= 0 || p2.indexIn(path) >= 0) {
        const QRegExp& rx = p1.matchedLength() >= 0 ? p1 : p2;
        ra = rx.cap(1).left(4);
        dec = dmsFromDigits(rx.cap(2));
        module = rx.cap(3);
        ray = rx.cap(4);
    } else if (p3.indexIn(path) >= 0) {
        ra = p3.cap(1);
        dec = p3.cap(2);
        module = p3.cap(3);
        ray = p3.cap(4);
        signedDec = true;
    } else if (p4.indexIn(path) >= 0) {
        ra = p4.cap(1).left(4);
        module = p4.cap(2);
        ray = p4.cap(3);
        bool found = false;
        double x = 0;
        if (siteCode == QLatin1String("N0") || siteCode == QLatin1String("N1") ||
            siteCode == QLatin1String("N2")) {
            x = rayDeclination(module, ray, siteCode.right(1).toInt(), found);
        } else if (siteCode == QLatin1String("N4")) {
            x = rayDeclination(QString::number(module.toInt()), QString::number(ray.toInt()), 4, found);
        }
        if (found) {
            dec = toDms(x);
        }
    }
    if (!signedDec && !dec.isEmpty()) {
        if (!dec.startsWith(QLatin1Char('-')) && !dec.startsWith(QLatin1Char('+'))) {
            dec.prepend(QLatin1Char('+'));
        }
        dec = dec.left(3) + dec.mid(4, 2);
    }
    const QString name = QStringLiteral("J%1%2").arg(ra, dec);
    if (withBeam) {
        return QStringLiteral("%1_m%2_r%3").arg(name, module, ray);
    }
    return name;
}
