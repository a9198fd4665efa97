#ifndef PERIODSEARCH_H
#define PERIODSEARCH_H

#include <QObject>
#include <QString>
#include <QVector>

class QTextStream;

// The period search over differences between pulse times: a true period divides every difference into
// whole periods, so each lies near a multiple of it. Candidates run from..to by step (ms, each the
// previous plus the step); each is scored by one of three rules against the differences. One object runs
// one search at a time on the calling thread, holding a BusyGuard and emitting progress(int) when the
// whole percentage rises. The rest is pure: candidate lists, the ranking and the text lists.
class PeriodSearch : public QObject {
    Q_OBJECT
public:
    // Number of differences within the tolerance of a multiple; sum of the remainders beyond it, ms;
    // the same in percent of the candidate.
    enum class Score { Count, SumMs, SumPercent };

    struct PeriodCount {
        double period; // s
        int count;
        // Count descending, then period ascending.
        bool operator<(const PeriodCount& o) const {
            return count != o.count ? count > o.count : period < o.period;
        }
        bool operator==(const PeriodCount& o) const { return count == o.count && period == o.period; }
    };

    // Beyond this many candidates a search is refused.
    static constexpr double maxCandidates = 1e7;

    using QObject::QObject;

    // Candidates F, F + S, ... below T (ms); the first one is taken whenever T > F. Empty text when
    // they can be searched, else the reason (a step of 0 or less, or too many candidates).
    static QString candidates(double fromMs, double toMs, double stepMs, QVector<double>& out);

    // Remainder of t against the nearest multiple of P.
    static double remainder(double t, double period);
    // Term of one difference in a candidate's score.
    static double term(Score score, double t, double period, double toleranceMs);

    // The trace file's head before a sum search: the range as typed and the differences.
    static QString sumTraceHeader(const QString& fromText, const QString& toText, const QString& stepText,
                                  const QVector<double>& dTimes);
    // Scores every candidate; writes one trace line per candidate when trace is given. periods (s)
    // and scores are replaced.
    void run(Score score, const QVector<double>& candidatesMs, const QVector<double>& dTimes,
             double toleranceMs, QTextStream* trace, QVector<double>& periods, QVector<double>& scores);

    // Counts of coincidences of each candidate with the differences from index 1 on, ranked; counts
    // receives them in candidate order when given.
    static QVector<PeriodCount> rank(const QVector<double>& candidatesMs, const QVector<double>& dTimes,
                                     double toleranceMs, QVector<double>* counts = nullptr);
    // The ranking box: the first 19 entries, the totals, and the entries within 0.5 ms of the sought
    // period. testedCount is (to - from) / step.
    static QString rankingText(const QVector<PeriodCount>& ranking, int differences, double testedCount,
                               double soughtMs);

    // The lists of the info panel: candidates within 10 steps of value (when it lies in from..to), and
    // those with a score at most or at least y; each at most limit lines.
    static QString nearPeriodText(const QVector<double>& periods, const QVector<double>& scores, double from,
                                  double to, double step, const QString& value, int limit);
    static QString resultsUnderYText(const QVector<double>& periods, const QVector<double>& scores,
                                     const QString& value, int limit);
    static QString resultsOverYText(const QVector<double>& periods, const QVector<double>& scores,
                                    const QString& value, int limit);

signals:
    void progress(int percent);
};

#endif // PERIODSEARCH_H
