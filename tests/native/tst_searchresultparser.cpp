#include "native/searchresultparser.h"

#include <QBuffer>
#include <QtTest>

// Series written as "dm=v,v,v;dm=v" in key order, so one table column describes the whole result.
static QString seriesText(const QHash<QString, QVector<double>>& series) {
    QStringList keys = series.keys();
    keys.sort();
    QStringList parts;
    for (const QString& k : keys) {
        QStringList values;
        for (double v : series.value(k)) {
            values << QString::number(v, 'g', 17);
        }
        parts << k + "=" + values.join(",");
    }
    return parts.join(";");
}

class TestSearchResultParser : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
};

void TestSearchResultParser::parses_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("dms");
    QTest::addColumn<QString>("series");
    QTest::addColumn<bool>("hasRange");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");

    QTest::newRow("two blocks") << QByteArray("sigma=1.5\ndisp=10\n1 2 3\ndisp=20\n4 5\n")
                                << QStringList{"10", "20"} << "10=1,2,3;20=4,5" << true << 5.0 << 1.0;
    QTest::newRow("last line of a block wins, range over both")
        << QByteArray("disp=7\n1 2\n7 8 9\n") << QStringList{"7"} << "7=7,8,9" << true << 9.0 << 1.0;
    QTest::newRow("two blanks give a 0")
        << QByteArray("disp=1\n1  2\n") << QStringList{"1"} << "1=1,0,2" << true << 2.0 << 0.0;
    QTest::newRow("blank line replaces the block")
        << QByteArray("disp=1\n3 4\n   \n") << QStringList{"1"} << "1=0" << true << 4.0 << 0.0;
    QTest::newRow("lines before the first disp and after an empty one")
        << QByteArray("5 6\ndisp=\n7 8\ndisp=2\n -1 1 \n") << QStringList{"", "2"} << "2=-1,1" << true << 1.0
        << -1.0;
    QTest::newRow("start values take part") << QByteArray("disp=1\n200000 300000\n") << QStringList{"1"}
                                            << "1=200000,300000" << true << 300000.0 << 100000.0;
    QTest::newRow("CR LF line ends") << QByteArray("sigma=2\r\ndisp=3.5\r\n1 2\r\n") << QStringList{"3.5"}
                                     << "3.5=1,2" << true << 2.0 << 1.0;
    QTest::newRow("text and non-finite pieces count as 0")
        << QByteArray("disp=1\nabc 2 inf nan 1e999\n") << QStringList{"1"} << "1=0,2,0,0,0" << true << 2.0
        << 0.0;
    QTest::newRow("a DM named twice is listed once, later block wins")
        << QByteArray("disp=1\n1\ndisp=2\n2\ndisp=1\n3\n") << QStringList{"1", "2"} << "1=3;2=2" << true
        << 3.0 << 1.0;
    QTest::newRow("DM text kept as written after the tag")
        << QByteArray("  disp=  10 \n1\nSigma=4\n") << QStringList{"  10"} << "  10=0" << true << 1.0 << 0.0;
    QTest::newRow("only sigma lines: no range")
        << QByteArray("sigma=1\nsigma=2\n") << QStringList{} << "" << false << -100000.0 << 100000.0;
    QTest::newRow("disp without numbers: no range")
        << QByteArray("disp=4\n") << QStringList{"4"} << "" << false << -100000.0 << 100000.0;
}

void TestSearchResultParser::parses() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, dms);
    QFETCH(QString, series);
    QFETCH(bool, hasRange);
    QFETCH(double, max);
    QFETCH(double, min);

    QBuffer buffer(&text);
    QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Text));
    SearchResultParser parser;
    parser.addAll(buffer);
    QCOMPARE(QStringList(parser.dispersions().toList()), dms);
    QCOMPARE(seriesText(parser.series()), series);
    QCOMPARE(parser.hasRange(), hasRange);
    QCOMPARE(parser.maximum(), max);
    QCOMPARE(parser.minimum(), min);
}

QTEST_GUILESS_MAIN(TestSearchResultParser)
#include "tst_searchresultparser.moc"
