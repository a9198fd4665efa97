#include "directory/calc/pulsetimes.h"
#include "support/pulsefilewriter.h"
#include "support/recordingdesktop.h"

#include <QBuffer>
#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <ctime>

using Ms = QVector<qint64>;
Q_DECLARE_METATYPE(Ms)

namespace {

qint64 at(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODateWithMs).toMSecsSinceEpoch();
}

PulseTimes::Read parse(const QByteArray& bytes, Ms& times, bool pointList) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return pointList ? PulseTimes::parsePnthrList(buffer, times) : PulseTimes::parseTimes(buffer, times);
}

} // namespace

class TestPulseTimes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void timesFile_data();
    void timesFile();
    void pulseList_data();
    void pulseList();
    void longPointNumbersLeaveInt();
    void readFailures_data();
    void readFailures();
    void equalTimesGiveNoDifference();
    void firstNumberAndLimit_data();
    void firstNumberAndLimit();
    void timesTable_data();
    void timesTable();
    void differencesTable_data();
    void differencesTable();

private:
    QTemporaryDir dir;
};

void TestPulseTimes::initTestCase() {
    qputenv("TZ", "UTC");
    tzset();
    QVERIFY(dir.isValid());
}

void TestPulseTimes::timesFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Ms>("times");
    const qint64 t0 = at("2018-01-01T16:24:27.000");
    QTest::newRow("blanks, tabs, CR LF")
        << QByteArray(" 2018-01-01 T16:24:27.467 \r\n\t2018-\t01-01T16:24:28\r\n") << Ms{t0 + 467, t0 + 1000};
    QTest::newRow("fraction is decimal") << QByteArray("2018-01-01T16:24:27.4\n2018-01-01T16:24:28.04\n"
                                                       "2018-01-01T16:24:29.467\n2018-01-01T16:24:30.46789\n")
                                         << Ms{t0 + 400, t0 + 1040, t0 + 2467, t0 + 3467};
    QTest::newRow("fraction not a number")
        << QByteArray("2018-01-01T16:24:27.4x\n2018-01-01T16:24:28.\n") << Ms{t0, t0 + 1000};
    QTest::newRow("1900s, prefix, impossible date or time")
        << QByteArray("1999-01-01T16:24:27.1\nat 2018-01-01T16:24:27.2\n2018-13-01T16:24:27\n"
                      "2018-01-01T25:24:27\n2018-02-30T16:24:27\n2018-01-01T16:24:60\n2018-01-01T16:24:27.5\n"
                      "2018-01-01T16:24:28.5\n")
        << Ms{t0 + 500, t0 + 1500};
    QTest::newRow("sorted") << QByteArray("2018-01-02T00:00:00\n2018-01-01T16:24:27\n2018-01-01T16:24:28\n")
                            << Ms{t0, t0 + 1000, at("2018-01-02T00:00:00.000")};
}

void TestPulseTimes::timesFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(Ms, times);
    const QString path = dir.filePath("times.txt");
    QVERIFY(PulseFileWriter::write(path, bytes));
    RecordingDesktop desktop;
    Ms read;
    QVERIFY(PulseTimes::readTimesFile(path, read, nullptr));
    QCOMPARE(read, times);
    QVERIFY(desktop.boxes().isEmpty());
}

void TestPulseTimes::pulseList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Ms>("times");
    const qint64 before = at("2017-12-31T23:00:00.000");
    const qint64 noon = at("2018-01-01T12:00:00.000");
    QTest::newRow("hour 00 is the day before; 0 and empty pieces give the base")
        << QByteArray("010118_00_N1_00.pnthr: 0 100  7 \n")
        << Ms{before, before, before, before + 87, before + 1249};
    QTest::newRow("hour 13 starts at noon")
        << QByteArray("010118_13_N1_00.pnthr: 1\r\n010118_13_N1_00.pnthr: -1\n") << Ms{noon - 12, noon + 12};
    QTest::newRow("malformed lines skipped")
        << QByteArray("010118_13_N1_00.pnthr:5\n011318_13_N1_00.pnthr: 5\n010118_xx_N1_00.pnthr: 5\n"
                      "010118_25_N1_00.pnthr: 5\n010118_13_N1_00.pnt: 5\n010118_13_N1_00.pnthr: x 1\n")
        << Ms{noon, noon + 12};
}

void TestPulseTimes::pulseList() {
    QFETCH(QByteArray, bytes);
    QFETCH(Ms, times);
    Ms read;
    QCOMPARE(parse(bytes, read, true), PulseTimes::Read::Ok);
    QCOMPARE(read, times);
}

void TestPulseTimes::longPointNumbersLeaveInt() {
    Ms read;
    QCOMPARE(parse("010118_01_N1_00.pnthr: 0 200000000\n", read, true), PulseTimes::Read::Ok);
    const qint64 gap = read[1] - read[0];
    QVERIFY(gap > qint64(INT_MAX));
    QVERIFY(qAbs(gap - 2498560000LL) <= 1);
}

void TestPulseTimes::readFailures_data() {
    QTest::addColumn<bool>("pointList");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("times: no file") << false << QByteArray() << QString("Нет файла ");
    QTest::newRow("points: no file") << true << QByteArray() << QString("Нет файла ");
    QTest::newRow("times: no data") << false << QByteArray("nothing\n") << QString("Нет данных в файле ");
    QTest::newRow("points: no data") << true << QByteArray("010118_01_N1_00.pnthr:\n")
                                     << QString("Нет данных в файле ");
    QTest::newRow("times: one time") << false << QByteArray("2018-01-01T16:24:27\n")
                                     << QString("Всего одно время в файле ");
    QTest::newRow("points: one time")
        << true << QByteArray("010118_01_N1_00.pnthr: 5\n") << QString("Всего одно время в файле ");
}

void TestPulseTimes::readFailures() {
    QFETCH(bool, pointList);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = dir.filePath(QTest::currentDataTag()).replace(':', '_');
    if (!text.startsWith("Нет файла")) {
        QVERIFY(PulseFileWriter::write(path, bytes));
    }
    RecordingDesktop desktop;
    Ms read{1, 2, 3};
    const bool ok = pointList ? PulseTimes::readPnthrList(path, read, nullptr)
                              : PulseTimes::readTimesFile(path, read, nullptr);
    QVERIFY(!ok);
    QVERIFY(read.isEmpty());
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes()[0].title, QString("Error"));
    QCOMPARE(desktop.boxes()[0].text, text + path);
}

void TestPulseTimes::equalTimesGiveNoDifference() {
    const Ms times{1000, 1000, 3000, 3500};
    const QVector<double> d0 = PulseTimes::differences(times);
    QCOMPARE(d0, (QVector<double>{0, 0, 2000, 500}));
    QVector<double> d;
    QCOMPARE(PulseTimes::positiveDifferences(d0, 0, 0, d), PulseTimes::Cut::Ok);
    QCOMPARE(d, (QVector<double>{500, 2000}));
    QCOMPARE(PulseTimes::positiveDifferences({}, 0, 0, d), PulseTimes::Cut::NoDifferences);
}

void TestPulseTimes::firstNumberAndLimit_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QVector<double>>("kept");
    QTest::addColumn<bool>("ok");
    // Positive differences 10..60 (out of order in the file), plus entry 0 and a zero difference.
    QTest::newRow("0/0 keeps all") << 0 << 0 << QVector<double>{10, 20, 30, 40, 50, 60} << true;
    QTest::newRow("2/3 keeps 3rd to 5th") << 2 << 3 << QVector<double>{30, 40, 50} << true;
    QTest::newRow("limit above the rest") << 4 << 10 << QVector<double>{50, 60} << true;
    QTest::newRow("first only") << 5 << 0 << QVector<double>{60} << true;
    QTest::newRow("limit only") << 0 << 2 << QVector<double>{10, 20} << true;
    QTest::newRow("limit of all") << -1 << 6 << QVector<double>{10, 20, 30, 40, 50, 60} << true;
    QTest::newRow("first equal to the count") << 6 << 0 << QVector<double>{10, 20, 30, 40, 50, 60} << false;
}

void TestPulseTimes::firstNumberAndLimit() {
    QFETCH(int, first);
    QFETCH(int, limit);
    QFETCH(QVector<double>, kept);
    QFETCH(bool, ok);
    const QVector<double> d0{0, 40, 0, 10, 60, 30, 20, 50};
    QVector<double> d;
    QCOMPARE(PulseTimes::positiveDifferences(d0, first, limit, d) == PulseTimes::Cut::Ok, ok);
    QCOMPARE(d, kept);
}

void TestPulseTimes::timesTable_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("cut");
    QTest::newRow("52 whole") << 52 << 52 << false;
    QTest::newRow("53 cut") << 53 << 52 << true;
}

void TestPulseTimes::timesTable() {
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(bool, cut);
    Ms times;
    for (int i = 0; i < count; ++i) {
        times << at("2018-01-01T16:24:27.000") + qint64(i) * 90061001; // 1 d 01:01:01.001 apart
    }
    const QString text = PulseTimes::timesTable(times, PulseTimes::differences(times));
    const QStringList lines = text.split('\n');
    QCOMPARE(lines[0],
             QString("  i                  times[i]                  dTimes0[i]         days    time"));
    QCOMPARE(lines[1], QString("000   2018.01.01 16:24:27.000               0000000000000         0000   "
                               "00:00:00.000"));
    QCOMPARE(lines[2], QString("001   2018.01.02 17:25:28.001               0000090061001         0001   "
                               "01:01:01.001"));
    QVERIFY(lines[rows].startsWith(QString("%1 ").arg(rows - 1, 3, 10, QChar('0'))));
    QCOMPARE(text.endsWith("...\nВсего строк: 53"), cut);
    QCOMPARE(text.contains("Всего строк"), cut);
    QCOMPARE(text.count('\n'), cut ? rows + 2 : rows + 1);
}

void TestPulseTimes::differencesTable_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("rows");
    QList<int> all;
    for (int i = 0; i < 51; ++i) {
        all << i;
    }
    QList<int> cut;
    for (int i = 0; i < 60; ++i) {
        if (i <= 30 || i >= 40) {
            cut << i;
        }
    }
    QTest::newRow("51 whole") << 51 << all;
    QTest::newRow("60 cut") << 60 << cut;
}

void TestPulseTimes::differencesTable() {
    QFETCH(int, count);
    QFETCH(QList<int>, rows);
    QVector<double> d;
    for (int i = 0; i < count; ++i) {
        d << 1000.0 * (i + 1) + 0.4;
    }
    const QString text = PulseTimes::differencesTable(d);
    QStringList lines = text.split('\n');
    QCOMPARE(lines.takeFirst(), QString("  i              dTimes[i]         days    time"));
    QList<int> shown;
    for (const QString& l : lines) {
        if (l.contains(":   ")) {
            shown << l.left(5).toInt();
        }
    }
    QCOMPARE(shown, rows);
    QCOMPARE(lines[1], QString("00001:   0000000002000   0000   00:00:02.000"));
    QCOMPARE(text.contains("00030:   0000000031000   0000   00:00:31.000\n...\n00040:"), count == 60);
    QVERIFY(!text.contains("...") || count == 60);
    QVERIFY(text.endsWith(QString("\n\nВсего строк: %1").arg(count)));
}

QTEST_GUILESS_MAIN(TestPulseTimes)
#include "tst_pulsetimes.moc"
