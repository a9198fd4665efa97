#include "directory/calc/periodsearch.h"

#include <QSignalSpy>
#include <QTextStream>
#include <QtTest>

namespace {

using Score = PeriodSearch::Score;

// Differences 1000, 2000 and 3010 ms; candidates 0.9 .. 1.1 s by 0.01 s; tolerance 15 ms.
const QVector<double> diffs{1000, 2000, 3010};

QVector<double> candidates(double from = 900, double to = 1100, double step = 10) {
    QVector<double> c;
    const QString error = PeriodSearch::candidates(from, to, step, c);
    return error.isEmpty() ? c : QVector<double>();
}

double scoreAt(const QVector<double>& periods, const QVector<double>& scores, double period) {
    for (int i = 0; i < periods.size(); ++i) {
        if (qAbs(periods[i] - period) < 1e-9) {
            return scores[i];
        }
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(PeriodSearch::Score)

class TestPeriodSearch : public QObject {
    Q_OBJECT
private slots:
    void remainderToNearestMultiple_data();
    void remainderToNearestMultiple();
    void scores_data();
    void scores();
    void percentOfCandidate();
    void candidateRange_data();
    void candidateRange();
    void progressRisesOnce();
    void traceLines();
    void rankingTiesAndTotals();
    void nearList();
    void overAndUnderLists();
};

void TestPeriodSearch::remainderToNearestMultiple_data() {
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("rest");
    QTest::newRow("1600 down") << 1600.0 << -400.0;
    QTest::newRow("1400 up") << 1400.0 << 400.0;
    QTest::newRow("1500 keeps half") << 1500.0 << 500.0;
    QTest::newRow("3010") << 3010.0 << 10.0;
}

void TestPeriodSearch::remainderToNearestMultiple() {
    QFETCH(double, t);
    QFETCH(double, rest);
    QCOMPARE(PeriodSearch::remainder(t, 1000), rest);
}

void TestPeriodSearch::scores_data() {
    QTest::addColumn<Score>("score");
    QTest::addColumn<double>("at1");
    QTest::addColumn<double>("at099");
    QTest::addColumn<double>("at101");
    QTest::newRow("Period") << Score::Count << 3.0 << 1.0 << 1.0;
    // 0.99 s: remainders 10, 20, 40 ms; 1.01 s: -10, -20, -20; only those beyond 15 ms add.
    QTest::newRow("MNK") << Score::SumMs << 0.0 << 60.0 << 40.0;
    QTest::newRow("MNK pre") << Score::SumPercent << 0.0 << 6000.0 / 990 << 4000.0 / 1010;
}

void TestPeriodSearch::scores() {
    QFETCH(Score, score);
    QFETCH(double, at1);
    QFETCH(double, at099);
    QFETCH(double, at101);
    PeriodSearch search;
    QVector<double> periods;
    QVector<double> scores;
    search.run(score, candidates(), diffs, 15, nullptr, periods, scores);
    QCOMPARE(periods.size(), 20);
    QCOMPARE(scores.size(), 20);
    QCOMPARE(periods.first(), 0.9);
    QCOMPARE(scoreAt(periods, scores, 1.0), at1);
    QVERIFY(qFuzzyCompare(scoreAt(periods, scores, 0.99), at099));
    QVERIFY(qFuzzyCompare(scoreAt(periods, scores, 1.01), at101));
}

void TestPeriodSearch::percentOfCandidate() {
    PeriodSearch search;
    QVector<double> periods;
    QVector<double> scores;
    search.run(Score::SumPercent, {1000}, {1000, 2000, 3030}, 15, nullptr, periods, scores);
    QCOMPARE(scores, QVector<double>{3.0});
}

void TestPeriodSearch::candidateRange_data() {
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("refused");
    QTest::newRow("plain") << 900.0 << 1100.0 << 10.0 << 20 << false;
    QTest::newRow("first always taken") << 1000.0 << 1000.5 << 10.0 << 1 << false;
    QTest::newRow("to not above from") << 1000.0 << 1000.0 << 10.0 << 0 << false;
    QTest::newRow("step 0") << 500.0 << 2000.0 << 0.0 << 0 << true;
    QTest::newRow("step negative") << 500.0 << 2000.0 << -1.0 << 0 << true;
    QTest::newRow("step 0, empty range") << 2000.0 << 500.0 << 0.0 << 0 << true;
    QTest::newRow("too many") << 0.0 << 2e7 << 1.0 << 0 << true;
    QTest::newRow("10^7 allowed") << 0.0 << 1e7 << 1.0 << 10000000 << false;
    QTest::newRow("step below resolution") << 1e17 << 1e17 + 1e4 << 1.0 << 0 << true;
    QTest::newRow("not a number") << 500.0 << 2000.0 << qQNaN() << 0 << true;
}

void TestPeriodSearch::candidateRange() {
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, step);
    QFETCH(int, count);
    QFETCH(bool, refused);
    QVector<double> c{1, 2};
    const QString error = PeriodSearch::candidates(from, to, step, c);
    QCOMPARE(!error.isEmpty(), refused);
    QCOMPARE(c.size(), count);
    if (count > 0) {
        QCOMPARE(c.first(), from);
        QVERIFY(c.last() < to);
    }
}

void TestPeriodSearch::progressRisesOnce() {
    PeriodSearch search;
    QSignalSpy spy(&search, &PeriodSearch::progress);
    QVector<double> periods;
    QVector<double> scores;
    // 7 differences × 31 candidates: percentages do not fall on candidate boundaries.
    search.run(Score::Count, candidates(900, 1210, 10), {1000, 2000, 3010, 4000, 5000, 6000, 7000}, 15,
               nullptr, periods, scores);
    QVERIFY(spy.size() > 90);
    int last = 0;
    for (const QList<QVariant>& args : spy) {
        const int p = args.at(0).toInt();
        QVERIFY2(p > last, qPrintable(QString("%1 after %2").arg(p).arg(last)));
        last = p;
    }
    QCOMPARE(last, 100);
}

void TestPeriodSearch::traceLines() {
    PeriodSearch search;
    QString text;
    QTextStream trace(&text);
    QVector<double> periods;
    QVector<double> scores;
    search.run(Score::Count, {990, 1000}, diffs, 15, &trace, periods, scores);
    search.run(Score::SumMs, {990}, diffs, 15, &trace, periods, scores);
    trace.flush();
    QCOMPARE(text, QString("0.9900 \t 1 \n1.0000 \t 3 \n0.9900 \t\t          60.000\n"));
    QCOMPARE(PeriodSearch::sumTraceHeader("0.9", "1.1", "0.01", {1000, 1234567.5}),
             QString("periodFrom=0.9\nperiodTo=1.1\nshag=0.01\n\ndTimes:\n0.\t\t1000\n1.\t\t1.23457e+06\n"
                     "\nperiod\t\t Sum(abs(rem))\n"));
}

void TestPeriodSearch::rankingTiesAndTotals() {
    // Entry 0 (500 ms) is not tested: it would put 0.5 s ahead.
    const QVector<double> d{500, 1000, 2000, 3010};
    const QVector<PeriodSearch::PeriodCount> ranking =
        PeriodSearch::rank({900, 1000, 1500, 1010, 990}, d, 15);
    QCOMPARE(ranking.size(), 5);
    QCOMPARE(ranking[0].period, 1.0);
    QCOMPARE(ranking[0].count, 3);
    // 0.99 and 1.01 tie at 1: the shorter first.
    QCOMPARE(ranking[1].period, 0.99);
    QCOMPARE(ranking[2].period, 1.01);
    QCOMPARE(ranking[1].count, 1);
    QCOMPARE(ranking[2].count, 1);
    // 1.5 s meets 3000 ± 15 only through 3010.
    QCOMPARE(ranking[3].period, 1.5);
    QCOMPARE(ranking[4].period, 0.9);
    QCOMPARE(ranking[4].count, 0);

    const QString text = PeriodSearch::rankingText(ranking, d.size(), 20, 1000);
    QVERIFY(text.startsWith("i=1\t period=1.0:\t     3\ni=2\t period=1.0:\t     1\n"));
    QVERIFY(text.contains("...\nВсего гармоник в файле:\t 4\nПротестировано периодов:\t 20\n"
                          "Периодов с совпадениями:\t 4\n\nИщем период: 1000 msec\n"
                          "i=1\t period=1.0:\t     3\n"));
    QVERIFY(text.endsWith("Ищем период: 1000 msec\ni=1\t period=1.0:\t     3\n"));
}

void TestPeriodSearch::nearList() {
    QVector<double> c;
    QVERIFY(PeriodSearch::candidates(900, 1100, 1, c).isEmpty());
    QVector<double> periods;
    QVector<double> scores;
    PeriodSearch search;
    search.run(Score::Count, c, diffs, 15, nullptr, periods, scores);
    const QString text = PeriodSearch::nearPeriodText(periods, scores, 0.9, 1.1, 0.001, "1", 40);
    QVERIFY(text.startsWith("Near period=1: \n"));
    QVERIFY(text.contains("\n1.00000: 3.000  <---\n"));
    for (const char* p : {"0.99100", "1.00900", "0.99000", "1.01000"}) {
        QVERIFY2(text.contains(QString("\n%1: ").arg(p)), p);
    }
    for (const char* p : {"0.98900", "1.01100"}) {
        QVERIFY2(!text.contains(QString("\n%1: ").arg(p)), p);
    }
    QVERIFY(text.endsWith("\n\n"));
    QCOMPARE(text.count(" <---"), 1);
    QCOMPARE(PeriodSearch::nearPeriodText(periods, scores, 0.9, 1.1, 0.001, "1", 20).count('\n'), 22);
    QCOMPARE(PeriodSearch::nearPeriodText(periods, scores, 0.9, 1.1, 0.001, "2", 20),
             QString("Near period=2: \n\n"));
    QCOMPARE(PeriodSearch::nearPeriodText({}, {}, 0.9, 1.1, 0.001, "1", 20), QString());
}

void TestPeriodSearch::overAndUnderLists() {
    QVector<double> periods;
    QVector<double> scores;
    for (int i = 0; i < 30; ++i) {
        periods << 1 + i * 0.001;
        scores << i % 3;
    }
    const QString over = PeriodSearch::resultsOverYText(periods, scores, "2", 20);
    QVERIFY(over.startsWith("Results over y=2:\n1.00200: 2.000\n1.00500: 2.000\n"));
    QCOMPARE(over.count('\n'), 11);
    const QString under = PeriodSearch::resultsUnderYText(periods, scores, "1", 20);
    QVERIFY(under.startsWith("Results under y=1:\n1.00: 0.000\n1.00: 1.000\n1.00: 0.000\n"));
    QCOMPARE(under.count('\n'), 21);
    QCOMPARE(PeriodSearch::resultsUnderYText({}, {}, "1", 20), QString());
}

QTEST_GUILESS_MAIN(TestPeriodSearch)
#include "tst_periodsearch.moc"
