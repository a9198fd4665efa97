#include "core/textfit.h"

#include <QtTest>

namespace {

// Every character 10 px wide, tab stops every 80 px, as a label expands them.
int measure(const QString& text) {
    int x = 0;
    for (const QChar c : text) {
        x = c == QLatin1Char('\t') ? (x / 80 + 1) * 80 : x + 10;
    }
    return x;
}

const QString dots(QChar(0x2026));

} // namespace

class TestTextFit : public QObject {
    Q_OBJECT
private slots:
    void wrap_data();
    void wrap();
    void elide_data();
    void elide();
    void isNumber_data();
    void isNumber();
    void tableWidth_data();
    void tableWidth();
};

void TestTextFit::wrap_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("cut");
    const QString period = "i=40\tp=4.2500\tsnr=30.1"; // 320 px with its tabs
    QTest::newRow("a row that fits stays as written") << period << 320 << QStringList{period} << false;
    QTest::newRow("tabs are break points")
        << period << 200 << QStringList{"i=40\tp=4.2500", "snr=30.1"} << false;
    QTest::newRow("a field a line") << period << 100 << QStringList{"i=40", "p=4.2500", "snr=30.1"} << false;
    QTest::newRow("only a field wider than the line is cut")
        << "Can't read /a/very/long/path/file.txt" << 150
        << QStringList{"Can't read", "/a/very" + dots + "ile.txt"} << true;
    QTest::newRow("the indent stays on the first line")
        << "  alpha beta" << 80 << QStringList{"  alpha", "beta"} << false;
    QTest::newRow("blanks at a break go") << "ab   cd" << 40 << QStringList{"ab", "cd"} << false;
    QTest::newRow("empty") << "" << 10 << QStringList{""} << false;
}

void TestTextFit::wrap() {
    QFETCH(QString, line);
    QFETCH(int, width);
    QFETCH(QStringList, shown);
    QFETCH(bool, cut);
    bool wasCut = false;
    QCOMPARE(TextFit::wrap(line, width, measure, &wasCut), shown);
    QCOMPARE(wasCut, cut);
}

void TestTextFit::elide_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("cut");
    QTest::newRow("fits") << "a/b.txt 12.5" << 120 << QStringList{"a/b.txt 12.5"} << false;
    QTest::newRow("a header closes up its blanks and tabs")
        << "file name\t\t           position\t  snr" << 260 << QStringList{"file name position snr"} << false;
    QTest::newRow("a 3-sigma line: the file name gives the room")
        << "2016-03-15_N1_ABCDEFGH.pnthr   f00_n0_av0   12.34" << 300
        << QStringList{"2016-0" + dots + ".pnthr f00_n0_av0 12.34"} << true;
    QTest::newRow("a path before its numbers") << "/data/N4/2019/03/15/file.txt 4.2500 30.1" << 200
                                               << QStringList{"/dat" + dots + "txt 4.2500 30.1"} << true;
    QTest::newRow("the widest field first") << "aaaaaaaaaa bbbbbbbbbbbbbbbbbbbb 5" << 250
                                            << QStringList{"aaaaaaaaaa bbbbbb" + dots + "bbbbb 5"} << true;
    QTest::newRow("a path alone, cut in the middle")
        << "/home/user/data/N1/B0329+54" << 150 << QStringList{"/home/u" + dots + "0329+54"} << true;
    QTest::newRow("an indent stays") << "  /home/user/data" << 120 << QStringList{"  /home" + dots + "data"}
                                     << true;
    QTest::newRow("numbers alone too wide go on lines of their own")
        << "4.2500 30.1 12.5" << 100 << QStringList{"4.2500", "30.1 12.5"} << false;
    QTest::newRow("a name cut rather than a number behind a tab")
        << "name_of_file\t12.5" << 100 << QStringList{"na" + dots + "le 12.5"} << true;
}

void TestTextFit::elide() {
    QFETCH(QString, line);
    QFETCH(int, width);
    QFETCH(QStringList, shown);
    QFETCH(bool, cut);
    bool wasCut = false;
    const QStringList out = TextFit::elide(line, width, measure, &wasCut);
    QCOMPARE(out, shown);
    QCOMPARE(wasCut, cut);
    for (const QString& l : out) {
        QVERIFY2(measure(l) <= width, qPrintable(l));
    }
}

void TestTextFit::isNumber_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("number");
    for (const char* yes : {"0.7145", "-3", "+.5", "1e-5", "12%", "p=4.2500", "snr=30.1",
                            "period=712.3:", "S/N=12", "(3.5)", "7,"}) {
        QTest::newRow(yes) << yes << true;
    }
    for (const char* no : {"", "=", "abc", "f00_n0_av0", "2015.03.05", "/a/b.txt", "1.2.3", "p=", "x=1y"}) {
        QTest::newRow(qPrintable(QString("not ") + no)) << no << false;
    }
}

void TestTextFit::isNumber() {
    QFETCH(QString, field);
    QFETCH(bool, number);
    QCOMPARE(TextFit::isNumber(field), number);
}

void TestTextFit::tableWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("the widest row")
        << "Periods with S/N > 2:\ni=7\tp=0.6250\tsnr=2.5\ni=40\tp=4.2500\tsnr=30.1\n"
        << 320;
    QTest::newRow("a path asks for nothing") << "Can't read\t/a/very/long/path/to/a/file.txt" << 0;
    QTest::newRow("no tab, no row") << "sigma0 = 1.000 (100% points)" << 0;
    QTest::newRow("a row of many short words asks for nothing") << QString("x ").repeated(40) + "\t1" << 0;
}

void TestTextFit::tableWidth() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QCOMPARE(TextFit::tableWidth(text, measure), width);
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
