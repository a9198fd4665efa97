#include "core/tools.h"
#include "directory/calc/mapfile.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

class TstMapFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void lines_data();
    void lines();
    void fileReading();
    void layoutByHeader_data();
    void layoutByHeader();
    void filter_data();
    void filter();
};

Q_DECLARE_METATYPE(MapPoint)
Q_DECLARE_METATYPE(MapFilter)

namespace {
MapPoint point(int shift, int withNulls, int averages, int dm, int harmonic, double snr, double period,
               int exclude, int sumAlfa, int size) {
    MapPoint p;
    p.shift = shift;
    p.withNulls = withNulls;
    p.averages = averages;
    p.dispersion = dm;
    p.harmonic = harmonic;
    p.snr = snr;
    p.period = period;
    p.excludeFlag = exclude;
    p.sumAlfa = sumAlfa;
    p.circleSize = size;
    return p;
}
} // namespace

void TstMapFile::lines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("sizeColumn");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<MapPoint>("expected");
    const MapPoint base = point(-3, 1, 2, 350, 64, 7.5, 0.714, 0, 0, 4);
    QTest::newRow("clean") << "f03_n1_av2\t350\t64\t7.5\t0.714" << false << true << base;
    QTest::newRow("padding and double tabs") << " f03_n1_av2 \t\t 350\t\t64 \t7.5\t 0.714 \n"
                                             << false << true << base;
    QTest::newRow("positive shift, two-digit averagings")
        << "f12_n0_av12\t57\t3\t5.5\t1.25" << false << true << point(2, 0, 12, 57, 3, 5.5, 1.25, 0, 0, 2);
    QTest::newRow("exclusion and sum alfa")
        << "f00_n0_av0\t57\t3\t9.5\t1.25\t1\t6" << false << true << point(0, 0, 0, 57, 3, 9.5, 1.25, 1, 6, 6);
    QTest::newRow("size column of the FFA map writer")
        << "f02_n0_av3\t\t  57\t\t  123\t\t9.0\t\t0.5000\t\t3" << true << true
        << point(-2, 0, 3, 57, 123, 9.0, 0.5, 0, 0, 3);
    QTest::newRow("bad numbers read 0")
        << "f00_n1_av0\tx\t3\ty\t1" << false << true << point(0, 1, 0, 0, 3, 0, 1, 0, 0, 1);
    QTest::newRow("four fields") << "f03_n1_av2\t350\t64\t7.5" << false << false << MapPoint();
    QTest::newRow("empty") << "" << false << false << MapPoint();
}

void TstMapFile::lines() {
    QFETCH(QString, line);
    QFETCH(bool, sizeColumn);
    QFETCH(bool, taken);
    QFETCH(MapPoint, expected);
    MapPoint p;
    QCOMPARE(MapFile::parseLine(line, p, sizeColumn), taken);
    if (!taken) {
        return;
    }
    QCOMPARE(p.shift, expected.shift);
    QCOMPARE(p.withNulls, expected.withNulls);
    QCOMPARE(p.averages, expected.averages);
    QCOMPARE(p.dispersion, expected.dispersion);
    QCOMPARE(p.harmonic, expected.harmonic);
    QCOMPARE(p.snr, expected.snr);
    QCOMPARE(p.period, expected.period);
    QCOMPARE(p.excludeFlag, expected.excludeFlag);
    QCOMPARE(p.sumAlfa, expected.sumAlfa);
    QCOMPARE(p.circleSize, expected.circleSize);
    QVERIFY(p.selected);
}

// The header is skipped, short lines are dropped, lines across the reader's 1 MiB pieces and a last line
// without its line end are read, progress runs every 200 lines and ends at 100; a missing file leaves
// the points as they were.
void TstMapFile::fileReading() {
    QByteArray text = "position dispersion harmonic snr period\n";
    for (int i = 0; i < 45000; ++i) {
        text += "f00_n1_av0\t57\t" + QByteArray::number(i + 1) + "\t6.5\t0.5\n";
        if (i == 10) {
            text += "\n";
        }
    }
    text.chop(1);
    QVERIFY(text.size() > (1 << 20));
    QBuffer buffer(&text);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVector<MapPoint> points;
    QVector<int> progress;
    MapFile::read(buffer, text.size(), points, [&](int p) { progress.append(p); });
    QCOMPARE(points.size(), 45000);
    for (int i = 0; i < points.size(); ++i) {
        QCOMPARE(points[i].harmonic, i + 1);
    }
    QCOMPARE(progress.size(), 45001 / 200 + 1);
    QCOMPARE(progress.first(), int(4400.0 / text.size() * 200));
    QCOMPARE(progress.last(), 100);

    QTemporaryDir dir;
    const QString missing = dir.filePath("harmonics.txt");
    QCOMPARE(MapFile::read(missing, points, {}),
             QStringLiteral("Файл с картой гармоник не найден: \n") + missing);
    QCOMPARE(points.size(), 45000);

    QFile file(missing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("file_name     dispersion     point      snr     period       size\n"
               "f00_n0_av0\t\t  57\t\t   12\t\t9.0\t\t0.5000\t\t3\n");
    file.close();
    QVector<MapPoint> ffa;
    QCOMPARE(MapFile::read(missing, ffa, {}), QString());
    QCOMPARE(ffa.size(), 1);
    QCOMPARE(ffa[0].circleSize, 3);
    QCOMPARE(ffa[0].excludeFlag, 0);
}

// Only the FFA map writer's whole header makes the sixth field a circle size; any other header, one
// beginning with "file_name" too, leaves it the exclusion flag.
void TstMapFile::layoutByHeader_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("sizeColumn");
    const QByteArray writer = "file_name     dispersion     point      snr     period       size";
    QTest::newRow("FFA map writer") << writer + "\n" << true;
    QTest::newRow("FFA map writer, CR LF and tabs")
        << QByteArray("file_name\tdispersion\tpoint\tsnr\tperiod\tsize\r\n") << true;
    QTest::newRow("harmonics map beginning with file_name")
        << QByteArray("file_name dispersion harmonic snr period exclude sum_alfa\n") << false;
    QTest::newRow("size column not last") << writer + " sum_alfa\n" << false;
    QTest::newRow("no size column") << QByteArray("file_name dispersion point snr period\n") << false;
}

void TstMapFile::layoutByHeader() {
    QFETCH(QByteArray, header);
    QFETCH(bool, sizeColumn);
    QTemporaryDir dir;
    const QString path = dir.filePath("map.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(header + "f00_n0_av0\t\t  57\t\t   12\t\t9.0\t\t0.5000\t\t1\t\t2\n");
    file.close();
    QVector<MapPoint> points;
    QCOMPARE(MapFile::read(path, points, {}), QString());
    QCOMPARE(points.size(), 1);
    QCOMPARE(points[0].circleSize, sizeColumn ? 1 : Tools::snrLevel(9.0));
    QCOMPARE(points[0].excludeFlag, sizeColumn ? 0 : 1);
    QCOMPARE(points[0].sumAlfa, 2);
}

void TstMapFile::filter_data() {
    QTest::addColumn<MapFilter>("inputs");
    QTest::addColumn<MapPoint>("p");
    QTest::addColumn<bool>("selected");
    MapFilter f;
    f.minSnr = 7;
    f.siteCode = "N2";
    const MapPoint ok = point(0, 1, 2, 57, 3, 7.0, 0.7, 0, 1, 3);
    QTest::newRow("S/N equal to the minimum passes") << f << ok << true;
    QTest::newRow("S/N below the minimum") << f << point(0, 1, 2, 57, 3, 6.99, 0.7, 0, 1, 3) << false;
    MapFilter maxX = f;
    maxX.maxX = 2;
    QTest::newRow("period above showMaxX") << maxX << point(0, 1, 2, 57, 3, 9, 2.5, 0, 1, 3) << false;
    maxX.maxX = 0;
    QTest::newRow("showMaxX 0 is off") << maxX << point(0, 1, 2, 57, 3, 9, 2.5, 0, 1, 3) << true;
    MapFilter minX = f;
    minX.minX = 1;
    QTest::newRow("period below showMinX") << minX << ok << false;
    QTest::newRow("excluded") << f << point(0, 1, 2, 57, 3, 9, 0.7, 1, 1, 3) << false;
    MapFilter asIs = f;
    asIs.asIs = true;
    QTest::newRow("as is keeps excluded") << asIs << point(0, 1, 2, 57, 3, 9, 0.7, 1, 1, 3) << true;
    QTest::newRow("interference period") << f << point(0, 1, 2, 57, 3, 9, 0.5, 0, 1, 3) << false;
    QTest::newRow("as is keeps interference") << asIs << point(0, 1, 2, 57, 3, 9, 0.5, 0, 1, 3) << true;
    MapFilter nulls = f;
    nulls.withNulls = 0;
    QTest::newRow("other with-nulls variant") << nulls << ok << false;
    MapFilter averages = f;
    averages.averages = 1;
    QTest::newRow("other averaging count") << averages << ok << false;
    MapFilter alfa = f;
    alfa.sumAlfa = 2;
    QTest::newRow("other sum alfa") << alfa << ok << false;
}

void TstMapFile::filter() {
    QFETCH(MapFilter, inputs);
    QFETCH(MapPoint, p);
    QFETCH(bool, selected);
    QVector<MapPoint> points{p};
    points[0].selected = !selected;
    MapFile::filter(points, inputs);
    QCOMPARE(points[0].selected, selected);
    // A hidden point keeps its size; a shown one is sized against the minimum S/N.
    QCOMPARE(points[0].circleSize, selected ? Tools::levelOf(p.snr, inputs.minSnr) : p.circleSize);
}

QTEST_GUILESS_MAIN(TstMapFile)
#include "tst_mapfile.moc"
