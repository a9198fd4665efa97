#include "directory/views/fouriertable.h"

#include "support/tablecells.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QtTest>

using Checks = QVector<bool>;
using Kinds = QMap<QString, QString>;

class TestFourierTable : public QObject {
    Q_OBJECT
private slots:
    void kinds_data();
    void kinds();
    void rowColours_data();
    void rowColours();
    void nameClicks_data();
    void nameClicks();
    void searchTable();
    void fileTableClicks();
};

void TestFourierTable::kinds_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("firstColumn");
    QTest::addColumn<Checks>("checks");
    QTest::newRow("caches and days") << "cachesAndDates" << QStringList{"cache_2019", "2019.03.15"}
                                     << QStringList{"Cache/Day", "Check"}
                                     << QStringList{"cache_2019", "2019.03.15"} << Checks{true, false};
    QTest::newRow("3-sigma harmonics")
        << "harmonics3sigma" << QStringList{"12", "24", "36"} << QStringList{"Harmonic", "Check"}
        << QStringList{"12", "24", "36"} << Checks{true, false, false};
    QTest::newRow("file, extra words dropped")
        << "datesFromFile" << QStringList{"date dm check", "2019.03.15 57", "2019.03.16 58 x y"}
        << QStringList{"date", "dm", "check"} << QStringList{"2019.03.15", "2019.03.16"}
        << Checks{true, false};
    QTest::newRow("empty") << "cachesAndDates" << QStringList{} << QStringList{"Cache/Day", "Check"}
                           << QStringList{} << Checks{};
}

void TestFourierTable::kinds() {
    QFETCH(QString, type);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, firstColumn);
    QFETCH(Checks, checks);
    FourierTable table(rows, {}, type, nullptr);
    QCOMPARE(TableCells::headers(&table), headers);
    QCOMPARE(TableCells::column(&table, 0), firstColumn);
    QCOMPARE(TableCells::checks(&table, table.columnCount() - 1), checks);
    for (const QString& under : TableCells::column(&table, table.columnCount() - 1)) {
        QVERIFY(under.isEmpty());
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        QVERIFY(!(table.item(r, 0)->flags() & Qt::ItemIsEditable) ||
                table.editTriggers() == QAbstractItemView::NoEditTriggers);
    }
}

void TestFourierTable::rowColours_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("nameColour"); // "" for the default background
    QTest::addColumn<QString>("checkColour");
    QTest::newRow("other cache") << "cacheOthers"
                                 << "#c1f8c1"
                                 << "#c1f8c1";
    QTest::newRow("year cache") << "cacheYears"
                                << "#d0f9d0"
                                << "#d0f9d0";
    QTest::newRow("month cache") << "cacheMonthes"
                                 << "#e5fbe5"
                                 << "#e5fbe5";
    QTest::newRow("red") << "red"
                         << ""
                         << "#ffcccc";
    QTest::newRow("green") << "green"
                           << ""
                           << "#ccffcc";
    QTest::newRow("day") << "days"
                         << ""
                         << "";
}

void TestFourierTable::rowColours() {
    QFETCH(QString, kind);
    QFETCH(QString, nameColour);
    QFETCH(QString, checkColour);
    FourierTable table({"a", "b"}, Kinds{{"b", kind}}, "cachesAndDates", nullptr);
    auto colourOf = [&](int column) {
        const QBrush brush = table.item(1, column)->background();
        return brush.style() == Qt::NoBrush ? QString() : brush.color().name();
    };
    QCOMPARE(colourOf(0), nameColour);
    QCOMPARE(colourOf(1), checkColour);
    QCOMPARE(table.item(0, 0)->background().style(), Qt::NoBrush); // a row missing from the map
}

void TestFourierTable::nameClicks_data() {
    QTest::addColumn<Checks>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<Checks>("after");
    QTest::addColumn<int>("emitted");
    QTest::newRow("only checked row clears all")
        << Checks{true, false, false} << 0 << Checks{false, false, false} << 1;
    QTest::newRow("another row alone") << Checks{true, true, false} << 2 << Checks{false, false, true} << 3;
    // The clicked row's box is toggled after the others are cleared.
    QTest::newRow("checked row among several clears all")
        << Checks{true, true, true} << 1 << Checks{false, false, false} << 3;
}

void TestFourierTable::nameClicks() {
    QFETCH(Checks, before);
    QFETCH(int, row);
    QFETCH(Checks, after);
    QFETCH(int, emitted);
    FourierTable table({"a", "b", "c"}, {}, "cachesAndDates", nullptr);
    for (int r = 0; r < before.size(); ++r) {
        table.checkBoxOf(r)->setChecked(before[r]);
    }
    QSignalSpy changed(&table, &FourierTable::changedTableCheckBox);
    emit table.itemClicked(table.item(row, 0));
    QCOMPARE(TableCells::checks(&table, 1), after);
    QCOMPARE(changed.count(), emitted); // one for every box whose state changed
}

void TestFourierTable::searchTable() {
    FourierTable table({"a163000_m01_r3", "a163300_m01_r3", "a163600_m01_r3"}, {}, "search", nullptr);
    QCOMPARE(TableCells::headers(&table), QStringList{"dir"});
    QCOMPARE(TableCells::cellWidgets(&table), 0);
    QVERIFY(!table.checkBoxOf(0));
    QSignalSpy picked(&table, QOverload<QString>::of(&FourierTable::clickedTableItem));
    table.show();
    table.setCurrentCell(0, 0);
    QTest::keyClick(table.viewport(), Qt::Key_Down);
    QCOMPARE(table.currentRow(), 1);
    QVERIFY(picked.count() >= 1);
    QCOMPARE(picked.last().at(0).toString(), QString("a163300_m01_r3"));
    emit table.itemClicked(table.item(2, 0));
    QCOMPARE(picked.last().at(0).toString(), QString("a163600_m01_r3"));
}

void TestFourierTable::fileTableClicks() {
    FourierTable table({"date dm check", "2019.03.15 57", "2019.03.16 58"}, {}, "datesFromFile", nullptr);
    // The row signal carries an unregistered type: it is only ever connected directly.
    QList<QStringList> rows;
    connect(&table, &FourierTable::clickedTableRow, this, [&](QList<QTableWidgetItem*> cells) {
        QStringList texts;
        for (QTableWidgetItem* item : cells) {
            texts << item->text();
        }
        rows << texts;
    });
    // A click on the check cell only toggles its box.
    emit table.itemClicked(table.item(1, 2));
    QCOMPARE(TableCells::checks(&table, 2), (Checks{true, true}));
    QCOMPARE(rows.count(), 0);
    // A click on a word picks that row alone and hands its cells over.
    emit table.itemClicked(table.item(1, 0));
    QCOMPARE(TableCells::checks(&table, 2), (Checks{false, false}));
    QCOMPARE(rows.count(), 0); // the box went off
    emit table.itemClicked(table.item(1, 1));
    QCOMPARE(TableCells::checks(&table, 2), (Checks{false, true}));
    QCOMPARE(rows, (QList<QStringList>{{"2019.03.16", "58", ""}}));
}

QTEST_MAIN(TestFourierTable)
#include "tst_fouriertable.moc"
