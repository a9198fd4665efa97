#include "core/naturalorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestNaturalOrder : public QObject {
    Q_OBJECT
private slots:
    void compare_data();
    void compare();
    void totalOrderOverMixedNames();
    void sortsDirectoryEntries();
};

void TestNaturalOrder::compare_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order"); // sign of compare(a, b)
    QTest::newRow("DM 1 before 19") << "p2021.03.16_dm1_p0.5_s3.txt"
                                    << "p2021.03.16_dm19_p0.5_s3.txt" << -1;
    QTest::newRow("DM 38 before 206") << "dm38_"
                                      << "dm206_" << -1;
    QTest::newRow("DM 3 before 20") << "dm3"
                                    << "dm20" << -1;
    QTest::newRow("period fractions as decimals") << "p0.72"
                                                  << "p0.714" << 1;
    QTest::newRow("fraction padded with zeros") << "p0.5"
                                                << "p0.45" << 1;
    QTest::newRow("9.5 before 10.2") << "p9.5_s1"
                                     << "p10.2_s1" << -1;
    QTest::newRow("dates") << "2021.03.16"
                           << "2021.10.02" << -1;
    QTest::newRow("leading zeros equal as numbers, then text") << "dm01"
                                                               << "dm1" << -1;
    QTest::newRow("equal fractions, then text") << "p0.50"
                                                << "p0.5" << 1;
    QTest::newRow("digits longer than any integer") << "x123456789012345678901234567890"
                                                    << "x123456789012345678901234567891" << -1;
    QTest::newRow("shorter prefix first") << "dm1"
                                          << "dm1_" << -1;
    QTest::newRow("upper case before lower") << "B"
                                             << "a" << -1;
    QTest::newRow("digit against a letter") << "a1"
                                            << "ab" << -1;
    QTest::newRow("digit against a slash") << "a/b"
                                           << "a1" << -1;
    QTest::newRow("a dot without digits before is no fraction") << "v.10"
                                                                << "v.9" << 1;
    QTest::newRow("equal") << "same1.5"
                           << "same1.5" << 0;
    QTest::newRow("empty") << ""
                           << "0" << -1;
}

void TestNaturalOrder::compare() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    const int r = NaturalOrder::compare(a, b);
    QCOMPARE((r > 0) - (r < 0), order);
    const int back = NaturalOrder::compare(b, a);
    QCOMPARE((back > 0) - (back < 0), -order);
}

// Any std::sort over these names needs a strict weak order: every triple must be transitive, and only
// equal texts may compare equal.
void TestNaturalOrder::totalOrderOverMixedNames() {
    const QStringList names{"",     "0",     "00",    "1",     "01",     "1.5",  "1.50", "1.05",
                            "10",   "9",     "9.9",   "a",     "A",      "a1",   "a01",  "a1.2.3",
                            "a1.3", "a1.10", "a/1",   "a.1",   "a1_",    "dm1_", "dm19", "dm1.9",
                            "..1",  "1..2",  "1.2.a", "x0.1y", "x0.10y", "x0.01"};
    for (const QString& a : names) {
        for (const QString& b : names) {
            const int ab = NaturalOrder::compare(a, b);
            QVERIFY2((ab == 0) == (a == b), qPrintable(a + " ~ " + b));
            for (const QString& c : names) {
                if (ab < 0 && NaturalOrder::compare(b, c) < 0) {
                    QVERIFY2(NaturalOrder::compare(a, c) < 0, qPrintable(a + " < " + b + " < " + c));
                }
            }
        }
    }
}

void TestNaturalOrder::sortsDirectoryEntries() {
    QStringList dms{"dm206", "dm20", "dm3", "dm38", "dm1", "dm19"};
    NaturalOrder::sort(dms);
    QCOMPARE(dms, (QStringList{"dm1", "dm3", "dm19", "dm20", "dm38", "dm206"}));

    QTemporaryDir dir;
    for (const char* name : {"harmonics_3sigma_10.txt", "harmonics_3sigma_2.txt", "harmonics_3sigma.txt"}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFileInfoList entries = QDir(dir.path()).entryInfoList(QDir::Files, QDir::Reversed);
    NaturalOrder::sortByFileName(entries);
    QStringList names;
    for (const QFileInfo& e : entries) {
        names << e.fileName();
    }
    QCOMPARE(names,
             (QStringList{"harmonics_3sigma.txt", "harmonics_3sigma_2.txt", "harmonics_3sigma_10.txt"}));
}

QTEST_MAIN(TestNaturalOrder)
#include "tst_naturalorder.moc"
