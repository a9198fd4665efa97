#ifndef PULSETIMES_H
#define PULSETIMES_H

#include <QString>
#include <QVector>

class QIODevice;
class QWidget;

// Pulse arrival times for the period search, as ms since the epoch taken from local date-times: the two
// file readers, the differences between consecutive pulses and the text tables of both. Widget-free;
// the readers report to the user through Desktop with the given parent (not owned).
class PulseTimes {
public:
    PulseTimes() = delete;

    enum class Read { Ok, CantOpen, NoData, OneTime };

    // Times files: lines "yyyy-MM-ddThh:mm:ss[.fraction]" with any white space anywhere; other lines,
    // and lines giving an impossible date or time, are skipped.
    static Read parseTimes(QIODevice& in, QVector<qint64>& times);
    // Pulse lists: "ddMMyy_hh<6 characters>.pnthr: n n n ..." with point numbers of 12.4928 ms after
    // the hour before the hour label.
    static Read parsePnthrList(QIODevice& in, QVector<qint64>& times);
    // Open, parse and sort; a failure is shown in a box and gives false with times emptied.
    static bool readTimesFile(const QString& fileName, QVector<qint64>& times, QWidget* parent);
    static bool readPnthrList(const QString& fileName, QVector<qint64>& times, QWidget* parent);

    // One line of a times file, white space removed; false when it is skipped.
    static bool timeOfLine(const QString& line, qint64& ms);

    // Entry 0 is 0, entry i the difference of times i and i-1.
    static QVector<double> differences(const QVector<qint64>& times);
    enum class Cut { Ok, NoDifferences, BadFirstNumber };
    // The positive differences ascending, the first firstNumber skipped and at most limit kept (a value
    // below 1 leaves that cut out). On BadFirstNumber all positive differences are kept.
    static Cut positiveDifferences(const QVector<double>& dTimes0, int firstNumber, int limit,
                                   QVector<double>& dTimes);

    // Box texts of the two tables.
    static QString timesTable(const QVector<qint64>& times, const QVector<double>& dTimes0);
    static QString differencesTable(const QVector<double>& dTimes);

    // Duration of one point of a pulse list, s.
    static constexpr double pointSeconds = 0.0124928;
};

#endif // PULSETIMES_H
