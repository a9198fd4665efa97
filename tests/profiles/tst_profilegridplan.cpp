#include "profiles/dmsnrseries.h"
#include "profiles/profilegridplan.h"

#include <QtTest>

namespace {
const QString day = QStringLiteral("2020.01.01");

QString key(const QString& dm, const QString& period) {
    return QStringLiteral("%1_%2_%3").arg(day, dm, period);
}

// The keys of a plan, row by row, "-" for a missing profile.
QStringList keysOf(const ProfileGridPlan& plan) {
    QStringList out;
    for (const auto& row : plan.cells) {
        QStringList r;
        for (const auto& c : row) {
            r << (c.key.isEmpty() ? QStringLiteral("-") : c.dm + "/" + c.period);
        }
        out << r.join(' ');
    }
    return out;
}
} // namespace

class TestProfileGridPlan : public QObject {
    Q_OBJECT
private slots:
    void periodsGrid();
    void tintsByListPosition();
    void dispersionsRows_data();
    void dispersionsRows();
    void snrSeriesAscendingByDm();
    void snrSeriesWithoutPoints();
};

void TestProfileGridPlan::periodsGrid() {
    QHash<QString, QVector<double>> profiles;
    for (const char* dm : {"10", "20", "30"}) {
        for (const char* p : {"0.5", "0.7"}) {
            profiles.insert(key(dm, p), {1, 2});
        }
    }
    profiles.remove(key("20", "0.5"));
    profiles.insert(key("10", "0.7"), {}); // an empty profile is as missing as an absent one
    const QStringList best{key("30", "0.7"), key("10", "0.5")};
    const auto plan = ProfileGridPlan::periods(day, {"10", "20", "30"}, {"0.5", "0.7"}, best, profiles);
    QCOMPARE(plan.columnTitles, (QVector<QString>{"period", "DM=10", "DM=20", "DM=30"}));
    QCOMPARE(plan.rowTitles, (QVector<QString>{"DM", "0.5", "0.7"}));
    QCOMPARE(plan.columns, 3);
    QCOMPARE(plan.rows, 2);
    QCOMPARE(keysOf(plan), (QStringList{"10/0.5 - 30/0.5", "- 20/0.7 30/0.7"}));
    QCOMPARE(plan.bestRow, 1);
    QCOMPARE(plan.bestCol, 2);
    QCOMPARE(plan.cells[1][2].tint, QString("#fdcedb"));
    QCOMPARE(plan.cells[0][0].tint, QString("#c8fcc7"));
    QCOMPARE(plan.cells[0][2].tint, QString());

    // Without a listed best profile the best cell stays at the origin.
    const auto none = ProfileGridPlan::periods(day, {"10"}, {"0.5"}, {}, profiles);
    QCOMPARE(none.bestRow, 0);
    QCOMPARE(none.bestCol, 0);
    QCOMPARE(none.cells[0][0].tint, QString());
}

void TestProfileGridPlan::tintsByListPosition() {
    const QStringList five{"a", "b", "c", "d", "e"};
    QCOMPARE(ProfileGridPlan::tint(five, "a"), QString("#fdcedb"));
    QCOMPARE(ProfileGridPlan::tint(five, "b"), QString("#c8fcc7"));
    QCOMPARE(ProfileGridPlan::tint(five, "c"), QString("#defbdd"));
    QCOMPARE(ProfileGridPlan::tint(five, "d"), QString("#f0fbef"));
    QCOMPARE(ProfileGridPlan::tint(five, "e"), QString("#f0fbef"));
    QCOMPARE(ProfileGridPlan::tint(five, "x"), QString());
    // The palest tint needs a list longer than three, whatever position the key has.
    QCOMPARE(ProfileGridPlan::tint({"a", "b", "c"}, "c"), QString("#defbdd"));
    QCOMPARE(ProfileGridPlan::tint({"a", "b", "c", "c"}, "c"), QString("#defbdd"));
    QCOMPARE(ProfileGridPlan::tint({}, "a"), QString());
}

void TestProfileGridPlan::dispersionsRows_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("lastRow");
    QTest::newRow("3") << 3 << 1 << 3 << 3;
    QTest::newRow("5") << 5 << 1 << 5 << 5;
    QTest::newRow("6") << 6 << 2 << 5 << 1;
    QTest::newRow("10") << 10 << 2 << 5 << 5;
    QTest::newRow("12") << 12 << 3 << 5 << 2;
}

void TestProfileGridPlan::dispersionsRows() {
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, lastRow);
    QVector<QString> dms;
    QHash<QString, QVector<double>> profiles;
    for (int i = 0; i < count; ++i) {
        dms << QString::number(10 * (i + 1));
        profiles.insert(key(dms.last(), "0.5"), {1, 2});
    }
    // The best profile is the last DM, so it sits in the last, possibly short, row.
    const auto plan = ProfileGridPlan::dispersions(day, "0.5", dms, {key(dms.last(), "0.5")}, profiles);
    QCOMPARE(plan.rows, rows);
    QCOMPARE(plan.columns, columns);
    QCOMPARE(plan.cells.size(), rows);
    QCOMPARE(plan.cells.last().size(), lastRow);
    QVector<QString> rowTitles{"cols"};
    for (int i = 1; i <= rows; ++i) {
        rowTitles << QString::number(i);
    }
    QCOMPARE(plan.rowTitles, rowTitles);
    QCOMPARE(plan.columnTitles.size(), columns + 1);
    QCOMPARE(plan.columnTitles.first(), QString("rows"));
    QCOMPARE(plan.columnTitles.last(), QString::number(columns));
    QCOMPARE(plan.bestRow, rows - 1);
    QCOMPARE(plan.bestCol, lastRow - 1);
    // Every DM is shown once, in order.
    QStringList shown;
    for (const auto& row : plan.cells) {
        for (const auto& c : row) {
            shown << c.dm;
        }
    }
    QCOMPARE(shown, QStringList(dms.toList()));
}

void TestProfileGridPlan::snrSeriesAscendingByDm() {
    QHash<QString, QVector<double>> profiles;
    profiles.insert(key("0", "0.5"), {0, 0, 0, 5});
    profiles.insert(key("10", "0.5"), {0, 0, 0, 9});
    profiles.insert(key("100", "0.5"), {0, 0, 0, 2});
    profiles.insert(key("11", "0.5"), {0, 0, 0, 9, 1});
    profiles.insert(key("2", "0.5"), {0, 0, 7});     // as long as k: left out
    profiles.insert(key("3", "0.7"), {0, 0, 0, 50}); // another period
    const auto s = DmSnrSeries::build(profiles, day, "0.5", {"0", "10", "100", "11", "2", "3"}, 3);
    QCOMPARE(s.dms, (QVector<double>{0, 10, 11, 100}));
    QCOMPARE(s.values, (QVector<double>{5, 9, 9, 2}));
    QCOMPARE(s.best, 9.0);
    QCOMPARE(s.bestDm, 10); // the tie goes to the DM met first in the date's order
    QCOMPARE(s.low, 2.0);

    // A DM text that is not a whole number is plotted at its value but reported as DM 0.
    QHash<QString, QVector<double>> fractional{{key("12.5", "0.5"), {0, 4}}};
    const auto f = DmSnrSeries::build(fractional, day, "0.5", {"12.5"}, 1);
    QCOMPARE(f.dms, (QVector<double>{12.5}));
    QCOMPARE(f.bestDm, 0);
}

void TestProfileGridPlan::snrSeriesWithoutPoints() {
    QHash<QString, QVector<double>> profiles{{key("10", "0.5"), {1, 2}}};
    for (int k : {2, -1}) {
        const auto s = DmSnrSeries::build(profiles, day, "0.5", {"10", "20"}, k);
        QVERIFY(s.dms.isEmpty() && s.values.isEmpty());
        QCOMPARE(s.bestDm, -1);
        QCOMPARE(s.best, -100000.0);
        QCOMPARE(s.low, 10000.0);
    }
}

QTEST_APPLESS_MAIN(TestProfileGridPlan)
#include "tst_profilegridplan.moc"
