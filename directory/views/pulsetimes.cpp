#include "directory/views/pulsetimes.h"

#include "core/desktop.h"
#include "core/tools.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("PeriodForm", text);
}

// The ASCII digits at [from, from + count) as a number, or -1.
int digitsAt(const QString& s, int from, int count) {
    if (from + count > s.size()) {
        return -1;
    }
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        const ushort c = s.at(i).unicode();
        if (c < '0' || c > '9') {
            return -1;
        }
        v = v * 10 + (c - '0');
    }
    return v;
}

// Digits after the point read as a decimal fraction of a second: ".4" is 400 ms, ".04" 40 ms; digits
// after the third are dropped. Anything but digits counts as 0.
int fractionMs(const QString& s, int from) {
    int ms = 0;
    int digits = 0;
    for (int i = from; i < s.size(); ++i, ++digits) {
        const ushort c = s.at(i).unicode();
        if (c < '0' || c > '9') {
            return 0;
        }
        if (digits < 3) {
            ms = ms * 10 + (c - '0');
        }
    }
    for (; digits < 3; ++digits) {
        ms *= 10;
    }
    return ms;
}

qint64 localMs(const QDate& date, const QTime& time, bool& ok) {
    const QDateTime dt(date, time, Qt::LocalTime);
    ok = dt.isValid();
    return ok ? dt.toMSecsSinceEpoch() : 0;
}

PulseTimes::Read finish(QVector<qint64>& times) {
    if (times.isEmpty()) {
        return PulseTimes::Read::NoData;
    }
    if (times.size() == 1) {
        return PulseTimes::Read::OneTime;
    }
    std::sort(times.begin(), times.end());
    return PulseTimes::Read::Ok;
}

bool readFile(const QString& fileName, QVector<qint64>& times, QWidget* parent,
              PulseTimes::Read (*parse)(QIODevice&, QVector<qint64>&)) {
    QFile file(fileName);
    PulseTimes::Read r = PulseTimes::Read::CantOpen;
    if (file.open(QIODevice::ReadOnly)) {
        r = parse(file, times);
    } else {
        times.clear();
    }
    Desktop* desktop = Desktop::instance();
    switch (r) {
    case PulseTimes::Read::Ok:
        return true;
    case PulseTimes::Read::CantOpen:
        qDebug() << "ERROR! FourierForm::readPnthrList(): Can't open file " << fileName;
        desktop->warning(parent, tr("Error"), tr("Нет файла ") + fileName);
        break;
    case PulseTimes::Read::NoData:
        desktop->warning(parent, tr("Error"), tr("Нет данных в файле ") + fileName);
        break;
    case PulseTimes::Read::OneTime:
        desktop->warning(parent, tr("Error"), tr("Всего одно время в файле ") + fileName);
        break;
    }
    times.clear();
    return false;
}

QString timeOfDay(int msOfDay) {
    return QTime::fromMSecsSinceStartOfDay(msOfDay).toString(QStringLiteral("hh:mm:ss.zzz"));
}

} // namespace

bool PulseTimes::timeOfLine(const QString& raw, qint64& ms) {
    QString line;
    line.reserve(raw.size());
    for (const QChar c : raw) {
        if (!c.isSpace()) {
            line.append(c);
        }
    }
    // "20yy-MM-ddThh:mm:ss" at the start.
    if (line.size() < 19 || line.at(0) != QLatin1Char('2') || line.at(1) != QLatin1Char('0') ||
        line.at(4) != QLatin1Char('-') || line.at(7) != QLatin1Char('-') || line.at(10) != QLatin1Char('T') ||
        line.at(13) != QLatin1Char(':') || line.at(16) != QLatin1Char(':')) {
        return false;
    }
    const int year = digitsAt(line, 0, 4);
    const int month = digitsAt(line, 5, 2);
    const int day = digitsAt(line, 8, 2);
    const int hour = digitsAt(line, 11, 2);
    const int minute = digitsAt(line, 14, 2);
    const int second = digitsAt(line, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) {
        return false;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return false;
    }
    bool ok = false;
    const qint64 base = localMs(date, time, ok);
    if (!ok) {
        return false;
    }
    ms = base + fractionMs(line, 20);
    return true;
}

PulseTimes::Read PulseTimes::parseTimes(QIODevice& in, QVector<qint64>& times) {
    times.clear();
    QTextStream stream(&in);
    QString line;
    while (stream.readLineInto(&line)) {
        qint64 ms = 0;
        if (timeOfLine(line, ms)) {
            times.append(ms);
        }
    }
    return finish(times);
}

PulseTimes::Read PulseTimes::parsePnthrList(QIODevice& in, QVector<qint64>& times) {
    static const QString marker = QStringLiteral(".pnthr: ");
    times.clear();
    QTextStream stream(&in);
    QString line;
    while (stream.readLineInto(&line)) {
        if (line.size() < 23 || line.midRef(15, 8) != marker) {
            continue;
        }
        const int day = digitsAt(line, 0, 2);
        const int month = digitsAt(line, 2, 2);
        const int year = digitsAt(line, 4, 2);
        const int hourLabel = digitsAt(line, 7, 2);
        if (day < 0 || month < 0 || year < 0 || hourLabel < 0 || hourLabel > 24) {
            continue;
        }
        QDate date(2000 + year, month, day);
        if (!date.isValid()) {
            continue;
        }
        // The file labelled with hour h starts at h - 1 o'clock; label 00 at 23:00 of the day before.
        int hour = hourLabel - 1;
        if (hourLabel == 0) {
            date = date.addDays(-1);
            hour = 23;
        }
        bool ok = false;
        const qint64 base = localMs(date, QTime(hour, 0), ok);
        if (!ok) {
            continue;
        }
        const auto pieces = line.midRef(23).split(QLatin1Char(' '));
        for (const QStringRef& piece : pieces) {
            // An empty or unreadable piece is point 0. The product leaves int for long files.
            const int n = piece.toInt();
            times.append(base + qint64(std::trunc(n * pointSeconds * 1000)));
        }
    }
    return finish(times);
}

bool PulseTimes::readTimesFile(const QString& fileName, QVector<qint64>& times, QWidget* parent) {
    return readFile(fileName, times, parent, &PulseTimes::parseTimes);
}

bool PulseTimes::readPnthrList(const QString& fileName, QVector<qint64>& times, QWidget* parent) {
    return readFile(fileName, times, parent, &PulseTimes::parsePnthrList);
}

QVector<double> PulseTimes::differences(const QVector<qint64>& times) {
    QVector<double> d;
    if (times.isEmpty()) {
        return d;
    }
    d.reserve(times.size());
    d.append(0);
    for (int i = 1; i < times.size(); ++i) {
        d.append(double(times[i] - times[i - 1]));
    }
    return d;
}

PulseTimes::Cut PulseTimes::positiveDifferences(const QVector<double>& dTimes0, int firstNumber, int limit,
                                                QVector<double>& dTimes) {
    if (dTimes0.isEmpty()) {
        return Cut::NoDifferences;
    }
    dTimes.clear();
    for (int i = 1; i < dTimes0.size(); ++i) {
        if (dTimes0[i] > 0) {
            dTimes.append(dTimes0[i]);
        }
    }
    std::sort(dTimes.begin(), dTimes.end());
    qDebug() << "sort";
    qDebug() << "firstNumber=" << firstNumber;
    if (firstNumber < 1 && limit < 1) {
        return Cut::Ok;
    }
    const int m = dTimes.size();
    if (firstNumber >= m) {
        return Cut::BadFirstNumber;
    }
    if (firstNumber >= 1) {
        dTimes = dTimes.mid(firstNumber, limit > 0 ? limit : -1);
    } else if (limit < m) {
        dTimes.resize(limit);
    }
    return Cut::Ok;
}

QString PulseTimes::timesTable(const QVector<qint64>& times, const QVector<double>& dTimes0) {
    static const QString row = QStringLiteral("%1   %2   %3   %4   %5\n");
    QString text = row.arg(QStringLiteral("i"), 3)
                       .arg(QStringLiteral("times[i]"), 23)
                       .arg(QStringLiteral("dTimes0[i]"), 25)
                       .arg(QStringLiteral("days"), 10)
                       .arg(QStringLiteral("time"), 5);
    for (int i = 0; i < times.size(); ++i) {
        const double d = i < dTimes0.size() ? dTimes0[i] : 0;
        const Tools::DaysMs split = Tools::splitDaysMs(d);
        const QString days = QStringLiteral("%1").arg(split.days, 4, 10, QLatin1Char('0'));
        const QString time = timeOfDay(split.msOfDay);
        qDebug() << "days=" << days << " time=" << time;
        text += row.arg(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), 3)
                    .arg(QDateTime::fromMSecsSinceEpoch(times[i], Qt::LocalTime)
                             .toString(QStringLiteral("yyyy.MM.dd hh:mm:ss.zzz")),
                         23)
                    .arg(QStringLiteral("%1").arg(d, 13, 'f', 0, QLatin1Char('0')), 25)
                    .arg(days, 10)
                    .arg(time, 5);
        if (i == 51 && times.size() > 52) {
            text += QStringLiteral("...\nВсего строк: %1").arg(times.size());
            break;
        }
    }
    return text;
}

QString PulseTimes::differencesTable(const QVector<double>& dTimes) {
    const int n = dTimes.size();
    QString text = QStringLiteral("%1   %2   %3   %4\n")
                       .arg(QStringLiteral("i"), 3)
                       .arg(QStringLiteral("dTimes[i]"), 20)
                       .arg(QStringLiteral("days"), 10)
                       .arg(QStringLiteral("time"), 5);
    for (int i = 0; i < n; ++i) {
        if (i > 30 && i < n - 20) {
            continue;
        }
        const Tools::DaysMs split = Tools::splitDaysMs(dTimes[i]);
        text += QStringLiteral("%1:   %2   %3   %4\n")
                    .arg(i, 5, 10, QLatin1Char('0'))
                    .arg(dTimes[i], 13, 'f', 0, QLatin1Char('0'))
                    .arg(split.days, 4, 10, QLatin1Char('0'))
                    .arg(timeOfDay(split.msOfDay));
        if (i == 30 && n >= 52) {
            text += QStringLiteral("...\n");
        }
    }
    text += QStringLiteral("\nВсего строк: %1").arg(n);
    return text;
}
