#include "directory/calc/periodsearch.h"

#include "core/busyguard.h"
#include "core/tools.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

// Remainders this close to the tolerance still count as within it.
constexpr double toleranceSlack = 1e-7;

} // namespace

QString PeriodSearch::candidates(double fromMs, double toMs, double stepMs, QVector<double>& out) {
    out.clear();
    if (!(stepMs > 0)) {
        return QCoreApplication::translate("PeriodForm", "Шаг периода должен быть больше 0!");
    }
    if (!(toMs > fromMs)) {
        return QString();
    }
    const QString tooMany =
        QCoreApplication::translate("PeriodForm",
                                    "Слишком много периодов для проверки: %1, допустимо не больше %2.")
            .arg((toMs - fromMs) / stepMs, 0, 'f', 0)
            .arg(maxCandidates, 0, 'f', 0);
    if (!((toMs - fromMs) / stepMs <= maxCandidates)) {
        return tooMany;
    }
    out.reserve(int((toMs - fromMs) / stepMs) + 2);
    for (double p = fromMs; p < toMs;) {
        out.append(p);
        const double next = p + stepMs;
        // A step below the resolution of the period would never move it.
        if (!(next > p)) {
            out.clear();
            return tooMany;
        }
        p = next;
    }
    return QString();
}

double PeriodSearch::remainder(double t, double period) {
    return Tools::nearestMultiple(t, period).rest;
}

double PeriodSearch::term(Score score, double t, double period, double toleranceMs) {
    const double r = remainder(t, period);
    const bool within = std::fabs(r) < toleranceMs + toleranceSlack;
    switch (score) {
    case Score::Count:
        return within ? 1 : 0;
    case Score::SumMs:
        return within ? 0 : std::fabs(r);
    case Score::SumPercent:
        return within ? 0 : std::fabs(r * 100 / period);
    }
    return 0;
}

QString PeriodSearch::sumTraceHeader(const QString& fromText, const QString& toText, const QString& stepText,
                                     const QVector<double>& dTimes) {
    QString text =
        QStringLiteral("periodFrom=%1\nperiodTo=%2\nshag=%3\n\ndTimes:\n").arg(fromText, toText, stepText);
    for (int i = 0; i < dTimes.size(); ++i) {
        text += QStringLiteral("%1.\t\t%2\n").arg(i).arg(dTimes[i]);
    }
    text += QStringLiteral("\nperiod\t\t Sum(abs(rem))\n");
    return text;
}

void PeriodSearch::run(Score score, const QVector<double>& candidatesMs, const QVector<double>& dTimes,
                       double toleranceMs, QTextStream* trace, QVector<double>& periods,
                       QVector<double>& scores) {
    BusyGuard busy;
    periods.clear();
    scores.clear();
    periods.reserve(candidatesMs.size());
    scores.reserve(candidatesMs.size());
    const int n = dTimes.size();
    const double* t = dTimes.constData();
    const qint64 total = qint64(n) * candidatesMs.size();
    // Pairs done after which the next whole percentage is reached.
    int shown = 0;
    const auto pairsFor = [total](int percent) { return (qint64(percent) * total + 99) / 100; };
    qint64 done = 0;
    qint64 nextAt = pairsFor(1);
    for (const double p : candidatesMs) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            sum += term(score, t[j], p, toleranceMs);
            if (++done >= nextAt) {
                shown = int(done * 100 / total);
                emit progress(shown);
                BusyGuard::processEvents();
                nextAt = pairsFor(shown + 1);
            }
        }
        if (trace) {
            if (score == Score::Count) {
                *trace << QStringLiteral("%1 \t %2 \n").arg(p / 1000, 0, 'f', 4).arg(qint64(sum));
            } else {
                *trace << QStringLiteral("%1 \t\t %2\n").arg(p / 1000, 0, 'f', 4).arg(sum, 15, 'f', 3);
            }
        }
        scores.append(sum);
        periods.append(p / 1000);
    }
}

QVector<PeriodSearch::PeriodCount> PeriodSearch::rank(const QVector<double>& candidatesMs,
                                                      const QVector<double>& dTimes, double toleranceMs,
                                                      QVector<double>* counts) {
    QVector<PeriodCount> ranking;
    ranking.reserve(candidatesMs.size());
    for (const double p : candidatesMs) {
        int count = 0;
        // The smallest difference is left out of the ranking.
        for (int j = 1; j < dTimes.size(); ++j) {
            count += int(term(Score::Count, dTimes[j], p, toleranceMs));
        }
        ranking.append({p / 1000, count});
        if (counts) {
            counts->append(count);
        }
    }
    std::stable_sort(ranking.begin(), ranking.end());
    return ranking;
}

QString PeriodSearch::rankingText(const QVector<PeriodCount>& ranking, int differences, double testedCount,
                                  double soughtMs) {
    static const QString line = QStringLiteral("i=%1\t period=%2:\t %3\n");
    QString text;
    QString near;
    int i = 1;
    int nearIndex = 1;
    int withCoincidences = 0;
    for (const PeriodCount& pc : ranking) {
        if (i <= 19) {
            text += line.arg(i).arg(pc.period, 0, 'f', 1).arg(pc.count, 5);
        }
        const double ms = pc.period * 1000;
        if (ms > soughtMs - 0.5 && ms < soughtMs + 0.5) {
            near += line.arg(nearIndex).arg(pc.period, 0, 'f', 1).arg(pc.count, 5);
            ++nearIndex;
        }
        if (pc.count > 0) {
            ++withCoincidences;
        }
        ++i;
    }
    text += QStringLiteral("...\nВсего гармоник в файле:\t %1\n").arg(differences);
    text += QStringLiteral("Протестировано периодов:\t %1\n").arg(testedCount, 0, 'f', 0);
    text += QStringLiteral("Периодов с совпадениями:\t %1\n").arg(withCoincidences);
    text += QStringLiteral("\nИщем период: %1 msec\n%2").arg(soughtMs).arg(near);
    return text;
}

QString PeriodSearch::nearPeriodText(const QVector<double>& periods, const QVector<double>& scores,
                                     double from, double to, double step, const QString& value, int limit) {
    if (periods.isEmpty() || scores.isEmpty()) {
        return QString();
    }
    const double f = value.toDouble();
    QString text = QStringLiteral("Near period=%1: \n").arg(value);
    if (from <= f && f <= to) {
        int lines = 0;
        const int n = std::min(periods.size(), scores.size());
        for (int i = 0; i < n && lines < limit; ++i) {
            const double p = periods[i];
            if (p >= f - 10 * step && p <= f + 10 * step) {
                const bool sought = std::fabs(p - f) < 1e-9;
                text += QStringLiteral("%1: %2 %3\n")
                            .arg(p, 0, 'f', 5)
                            .arg(scores[i], 0, 'f', 3)
                            .arg(sought ? QStringLiteral(" <---") : QString());
                ++lines;
            }
        }
    }
    return text + QStringLiteral("\n");
}

namespace {

QString resultsText(const QVector<double>& periods, const QVector<double>& scores, const QString& value,
                    int limit, bool under) {
    if (periods.isEmpty() || scores.isEmpty()) {
        return QString();
    }
    const double y = value.toDouble();
    QString text =
        (under ? QStringLiteral("Results under y=%1:\n") : QStringLiteral("Results over y=%1:\n")).arg(value);
    int lines = 0;
    const int n = std::min(periods.size(), scores.size());
    for (int i = 0; i < n && lines < limit; ++i) {
        if (under ? scores[i] <= y : scores[i] >= y) {
            text +=
                QStringLiteral("%1: %2\n").arg(periods[i], 0, 'f', under ? 2 : 5).arg(scores[i], 0, 'f', 3);
            ++lines;
        }
    }
    return text;
}

} // namespace

QString PeriodSearch::resultsUnderYText(const QVector<double>& periods, const QVector<double>& scores,
                                        const QString& value, int limit) {
    return resultsText(periods, scores, value, limit, true);
}

QString PeriodSearch::resultsOverYText(const QVector<double>& periods, const QVector<double>& scores,
                                       const QString& value, int limit) {
    return resultsText(periods, scores, value, limit, false);
}
