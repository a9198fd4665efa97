#include "directory/calc/pulsetimes.h"

#include "core/desktop.h"
#include "core/filebytes.h"
#include "core/numberreader.h"
#include "core/tools.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("PeriodForm", text);
}

// The ASCII digits at [from, from + count) of s (n bytes) as a number, or -1.
int digitsAt(const char* s, int n, int from, int count) {
    if (from + count > n) {
        return -1;
    }
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return -1;
        }
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// Digits after the point read as a decimal fraction of a second: ".4" is 400 ms, ".04" 40 ms; digits
// after the third are dropped. Anything but digits counts as 0.
int fractionMs(const char* s, int n, int from) {
    int ms = 0;
    int digits = 0;
    for (int i = from; i < n; ++i, ++digits) {
        if (s[i] < '0' || s[i] > '9') {
            return 0;
        }
        if (digits < 3) {
            ms = ms * 10 + (s[i] - '0');
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

namespace {

// The characters of text as bytes, those of other scripts as a byte that is neither a digit nor a
// separator, white space left out when dropSpace is set.
QByteArray oneBytePerCharacter(const QString& text, bool dropSpace) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!dropSpace || !c.isSpace()) {
            out.append(c.unicode() < 0x80 ? char(c.unicode()) : '\x80');
        }
    }
    return out;
}

template <typename Line> void forEachLine(QIODevice& in, Line line) {
    const FileBytes bytes(in, true);
    NumberReader::forEachLine(bytes.begin(), bytes.end(), line);
}

// A times line with its white space removed, one byte per character (a character of another script
// stands as a byte that is neither a digit nor a separator).
bool timeOfStripped(const char* line, int n, qint64& ms) {
    // "20yy-MM-ddThh:mm:ss" at the start.
    if (n < 19 || line[0] != '2' || line[1] != '0' || line[4] != '-' || line[7] != '-' || line[10] != 'T' ||
        line[13] != ':' || line[16] != ':') {
        return false;
    }
    const int year = digitsAt(line, n, 0, 4);
    const int month = digitsAt(line, n, 5, 2);
    const int day = digitsAt(line, n, 8, 2);
    const int hour = digitsAt(line, n, 11, 2);
    const int minute = digitsAt(line, n, 14, 2);
    const int second = digitsAt(line, n, 17, 2);
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
    ms = base + fractionMs(line, n, 20);
    return true;
}

// The first moment of a pulse-list line "ddMMyy_hh...": the file labelled with hour h starts at h - 1
// o'clock, label 00 at 23:00 of the day before. False for a line that names no such moment.
bool pnthrBase(const char* line, int n, qint64& base) {
    const int day = digitsAt(line, n, 0, 2);
    const int month = digitsAt(line, n, 2, 2);
    const int year = digitsAt(line, n, 4, 2);
    const int hourLabel = digitsAt(line, n, 7, 2);
    if (day < 0 || month < 0 || year < 0 || hourLabel < 0 || hourLabel > 24) {
        return false;
    }
    QDate date(2000 + year, month, day);
    if (!date.isValid()) {
        return false;
    }
    int hour = hourLabel - 1;
    if (hourLabel == 0) {
        date = date.addDays(-1);
        hour = 23;
    }
    bool ok = false;
    base = localMs(date, QTime(hour, 0), ok);
    return ok;
}

// Point n of a pulse list: n points of 12.4928 ms, truncated to whole ms. The product leaves int for
// long files.
qint64 pointTime(qint64 base, int n) {
    return base + qint64(std::trunc(n * PulseTimes::pointSeconds * 1000));
}

// The point numbers of [begin, end), split at single blanks (an empty or unreadable piece is point 0),
// after the 23-character name `head`.
void appendPoints(const char* head, const char* begin, const char* end, QVector<qint64>& times) {
    qint64 base = 0;
    if (!pnthrBase(head, 23, base)) {
        return;
    }
    NumberReader::forEachPiece(begin, end, ' ', [&](const char* b, const char* e) {
        times.append(pointTime(base, NumberReader::toInt(b, e)));
    });
}

} // namespace

bool PulseTimes::timeOfLine(const QString& raw, qint64& ms) {
    const QByteArray line = oneBytePerCharacter(raw, true);
    return timeOfStripped(line.constData(), line.size(), ms);
}

PulseTimes::Read PulseTimes::parseTimes(QIODevice& in, QVector<qint64>& times) {
    times.clear();
    QByteArray stripped;
    forEachLine(in, [&](const char* line, const char* lineEnd) {
        qint64 ms = 0;
        bool taken = false;
        if (NumberReader::hasNonAscii(line, lineEnd)) {
            taken = timeOfLine(NumberReader::text(line, lineEnd), ms); // other scripts' white space too
        } else {
            stripped.resize(int(lineEnd - line));
            char* out = stripped.data();
            for (const char* p = line; p < lineEnd; ++p) {
                if (!NumberReader::isSpace(*p)) {
                    *out++ = *p;
                }
            }
            taken = timeOfStripped(stripped.constData(), int(out - stripped.constData()), ms);
        }
        if (taken) {
            times.append(ms);
        }
    });
    return finish(times);
}

PulseTimes::Read PulseTimes::parsePnthrList(QIODevice& in, QVector<qint64>& times) {
    times.clear();
    forEachLine(in, [&](const char* line, const char* lineEnd) {
        // The name takes character positions 0-22; in a line of other scripts they are not byte positions.
        const char* nameEnd = lineEnd - line < 23 ? lineEnd : line + 23;
        if (!NumberReader::hasNonAscii(line, nameEnd)) {
            if (nameEnd - line == 23 && std::memcmp(line + 15, ".pnthr: ", 8) == 0) {
                appendPoints(line, nameEnd, lineEnd, times);
            }
            return;
        }
        const QString text = NumberReader::text(line, lineEnd);
        const QByteArray head = oneBytePerCharacter(text.left(23), false);
        const QByteArray tail = text.mid(23).toUtf8();
        if (head.size() == 23 && std::memcmp(head.constData() + 15, ".pnthr: ", 8) == 0) {
            appendPoints(head.constData(), tail.constData(), tail.constData() + tail.size(), times);
        }
    });
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
