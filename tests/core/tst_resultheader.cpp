#include "core/resultheader.h"
#include "support/testenv.h"

#include <QtTest>

class TstResultHeader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void headerLines_data();
    void headerLines();
};

// A line as read, line end included, and what it stores ("" when nothing).
void TstResultHeader::headerLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("value");
    QTest::newRow("points") << "points: 16384\n"
                            << "points" << 16384;
    QTest::newRow("signed shift") << "first_point_shift: -2\n"
                                  << "first_point_shift" << -2;
    QTest::newRow("tab after the name") << "averageWithNull:\t1\n"
                                        << "averageWithNull" << 1;
    QTest::newRow("blanks before the value") << "averageCount:    3\n"
                                             << "averageCount" << 3;
    QTest::newRow("empty value") << "year: \n"
                                 << "year" << 0;
    QTest::newRow("not a number") << "type: float\n"
                                  << "type" << 0;
    QTest::newRow("every colon dropped") << "a:b: 7\n"
                                         << "ab" << 7;
    QTest::newRow("last character is the line end") << "points: 128"
                                                    << "points" << 12;
    QTest::newRow("no blank") << "comment\n"
                              << "" << 0;
}

void TstResultHeader::headerLines() {
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(int, value);
    QHash<QString, int> hash{{"kept", 5}};
    parseHeaderLine(hash, line);
    QCOMPARE(hash.value("kept"), 5);
    QCOMPARE(hash.size(), key.isEmpty() ? 1 : 2);
    if (!key.isEmpty()) {
        QVERIFY(hash.contains(key));
        QCOMPARE(hash.value(key), value);
    }
}

QTEST_GUILESS_MAIN(TstResultHeader)
#include "tst_resultheader.moc"
