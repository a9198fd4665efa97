#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/calc/resultfile.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using Record = ResultFileWriter::Record;
Q_DECLARE_METATYPE(QVector<Record>)

namespace {

const double notNumber = std::numeric_limits<double>::quiet_NaN();

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

using Sums = QHash<QString, QVector<double>>;

Sums zeroSums(const QVector<int>& dms, int n) {
    Sums sums;
    for (int dm : dms) {
        sums.insert(Tools::fourierFileBaseD(0, 0, 0, dm), QVector<double>(n, 0.0));
    }
    return sums;
}

} // namespace

class TstResultFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void names_data();
    void names();
    void recordHeads_data();
    void recordHeads();
    void elementType_data();
    void elementType();
    void refusedPoints_data();
    void refusedPoints();
    void recordWalk_data();
    void recordWalk();
    void fewerAndExtraRecords();
    void cutBlockChangesNoSum_data();
    void cutBlockChangesNoSum();
    void notANumber_data();
    void notANumber();
    void sumsOfWrongShape();
    void writtenRecordsWithoutDays();
    void layoutShortcut_data();
    void layoutShortcut();

private:
    QTemporaryDir dir;
};

void TstResultFile::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TstResultFile::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shift 0") << FourierCalculate::getFourierFileName("", 0, 0, false) << "f00_n0_av0.txt";
    QTest::newRow("shift -2") << FourierCalculate::getFourierFileName("", -2, 0, false) << "f02_n0_av0.txt";
    QTest::newRow("shift 3") << FourierCalculate::getFourierFileName("", 3, 0, false) << "f13_n0_av0.txt";
    QTest::newRow("search") << FourierCalculate::getFourierFileName("search", 1, 2, true) << "f11_n1_av2.txt";
    QTest::newRow("day") << FourierCalculate::getFourierFileName("2019_05", -1, 3, true)
                         << "2019_05/f01_n1_av3.txt";
    QTest::newRow("fallback") << FourierCalculate::getFourierFileNameWithDir("2019_05", 0, 0, false)
                              << "2019_05/2019_05_f00_n0_av0.txt";
    QTest::newRow("single") << FourierCalculate::getSingleFourierFileName("d", 2, 1) << "d/f00_n1_av2.txt";
}

void TstResultFile::names() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(name, expected);
}

void TstResultFile::recordHeads_data() {
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("parsed"); // sorted key=value pairs
    QTest::newRow("days") << "disp: 12\ndays: 3\n"
                          << "days=3 disp=12";
    QTest::newRow("points") << "disp: 12\npoints: 7\n"
                            << "disp=12 points=7";
    QTest::newRow("not a head") << "\ndisp: 12\n"
                                << "error=1";
    QTest::newRow("three tokens have no count") << "disp: 12\ndays:\n"
                                                << "disp=12";
    QTest::newRow("bare disp") << "disp\n\n"
                               << "disp=0";
    QTest::newRow("unreadable numbers") << "disp: x\ndays: y\n"
                                        << "days=0 disp=0";
}

void TstResultFile::recordHeads() {
    QFETCH(QString, head);
    QFETCH(QString, parsed);
    const QHash<QString, int> h = parseRecordHeader(head);
    QStringList pairs;
    for (auto it = h.begin(); it != h.end(); ++it) {
        pairs << it.key() + '=' + QString::number(it.value());
    }
    pairs.sort();
    QCOMPARE(pairs.join(' '), parsed);
}

void TstResultFile::elementType_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QVector<Record> records = {{1, 2, {1.5, -2.25, 3, 0.125}}, {2, 0, {}}, {3, 1, {-1, 4, 1e6, 7}}};
    QTest::newRow("explicit floats") << ResultFileWriter::bytes(ResultFileWriter::header(4, true), records,
                                                                false);
    QTest::newRow("explicit doubles")
        << ResultFileWriter::bytes(ResultFileWriter::header(4, false, "0"), records, true);
    QTest::newRow("no marker, floats")
        << ResultFileWriter::bytes(ResultFileWriter::header(4, false, ""), records, false, true);
    QTest::newRow("no marker, doubles")
        << ResultFileWriter::bytes(ResultFileWriter::header(4, false, ""), records, true, true);
    QStringList bare = ResultFileWriter::header(4, false, "");
    bare[2] = "year:";
    bare[3] = "first_point: ";
    QTest::newRow("empty first point, doubles ending the file")
        << ResultFileWriter::bytes(bare, records.mid(0, 1), true);

    const QString written = dir.filePath("written.txt");
    double a[] = {1.5, -2.25, 3, 0.125};
    double b[] = {0, 0, 0, 0};
    double c[] = {-1, 4, 1e6, 7};
    double* blocks[] = {a, b, c};
    const int days[] = {2, 0, 1};
    QVERIFY(FourierCalculate::writeFourier(blocks, days, written, 4, 0, 0, false, {1, 2, 3}));
    QTest::newRow("written by the calculation") << readAll(written);
}

void TstResultFile::elementType() {
    QFETCH(QByteArray, bytes);
    const QString path = dir.filePath("type.txt");
    writeBytes(path, bytes);
    const QVector<double> first = {1.5, -2.25, 3, 0.125};
    const QVector<double> third = {-1, 4, 1e6, 7};
    const bool hasThird = bytes.contains("disp: 3");

    QVector<double> sum(4, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 3, 1, sum), 1);
    QCOMPARE(sum, first);

    QVector<QVector<double>> matrix(3, QVector<double>(4, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 3, matrix, 4), 1);
    QCOMPARE(matrix[0], first);
    QCOMPARE(matrix[2], hasThird ? third : QVector<double>(4, 0.0));

    Sums sums = zeroSums({1, 2, 3}, 4);
    QString errors;
    QVERIFY(ResultFile::addFourierHashFromFile(path, 3, 0, 0, 0, sums, 4, errors));
    QCOMPARE(sums.value("f00_n0_av0_d1"), first);
    QCOMPARE(sums.value("f00_n0_av0_d3"), hasThird ? third : QVector<double>(4, 0.0));
}

void TstResultFile::refusedPoints_data() {
    QTest::addColumn<QString>("pointsLine");
    QTest::addColumn<bool>("crlf");
    QTest::newRow("more points than the sum") << "points: 16384" << false;
    QTest::newRow("no blank after the colon") << "points:8192" << false;
    QTest::newRow("CR LF") << "points: 8192" << true;
    QTest::newRow("zero") << "points: 0" << false;
}

void TstResultFile::refusedPoints() {
    QFETCH(QString, pointsLine);
    QFETCH(bool, crlf);
    QStringList header = ResultFileWriter::header(8192, true);
    header[1] = pointsLine;
    QByteArray bytes = ResultFileWriter::bytes(header, {{1, 1, QVector<double>(8192, 2.0)}}, false);
    if (crlf) {
        const int headEnd = bytes.indexOf("disp");
        bytes = bytes.left(headEnd).replace("\n", "\r\n") + bytes.mid(headEnd);
    }
    const QString path = dir.filePath("points.txt");
    writeBytes(path, bytes);

    QVector<double> sum(8192, 1.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 1, 1, sum), -3);
    QCOMPARE(sum, QVector<double>(8192, 1.0));
    QVector<QVector<double>> matrix(1, QVector<double>(8192, 1.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 1, matrix, 8192), -3);
    QCOMPARE(matrix[0], QVector<double>(8192, 1.0));
    Sums sums = zeroSums({1}, 8192);
    QString errors;
    QVERIFY(!ResultFile::addFourierHashFromFile(path, 1, 0, 0, 0, sums, 8192, errors));
    QVERIFY(errors.startsWith("Bad points in file: "));
    QCOMPARE(sums.value("f00_n0_av0_d1"), QVector<double>(8192, 0.0));
}

void TstResultFile::recordWalk_data() {
    QTest::addColumn<bool>("separateAll");
    QTest::newRow("next head right after a record without block") << false;
    QTest::newRow("separator after every record") << true;
}

void TstResultFile::recordWalk() {
    // A DM-5 record without days has no block; the search goes on to the next DM-5 record.
    QFETCH(bool, separateAll);
    const QString path = dir.filePath("walk.txt");
    QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(2, true),
                                    {{5, 0, {}}, {4, 1, {9, 9}}, {5, 0, {}}, {5, 3, {1, 2}}}, false, 0,
                                    separateAll));
    QVector<double> sum(2, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 4, 5, sum), 1);
    QCOMPARE(sum, QVector<double>({1, 2}));

    QVector<QVector<double>> matrix(4, QVector<double>(2, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 4, matrix, 2), 1);
    QCOMPARE(matrix, QVector<QVector<double>>({{0, 0}, {9, 9}, {0, 0}, {1, 2}}));
}

void TstResultFile::fewerAndExtraRecords() {
    const QString path = dir.filePath("records.txt");
    QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(2, true), {{1, 1, {1, 1}}, {2, 1, {2, 2}}},
                                    false, 0, true));
    // Fewer records than DMs: the missing DM is not found.
    QVector<double> sum(2, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 3, 3, sum), -2);
    QCOMPARE(sum, QVector<double>(2, 0.0));

    // Records beyond the DM list are never read, not even to be refused.
    QCOMPARE(ResultFile::addFourierFromFile(path, 1, 2, sum), -2);
    QVector<QVector<double>> oneRow(1, QVector<double>(2, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 1, oneRow, 2), 1);
    QCOMPARE(oneRow[0], QVector<double>({1, 1}));
    Sums sums = zeroSums({1}, 2);
    QString errors;
    QVERIFY(ResultFile::addFourierHashFromFile(path, 1, 0, 0, 0, sums, 2, errors));
    QCOMPARE(sums.value("f00_n0_av0_d1"), QVector<double>({1, 1}));
}

void TstResultFile::cutBlockChangesNoSum_data() {
    QTest::addColumn<bool>("doubles");
    QTest::addColumn<int>("drop");
    QTest::newRow("floats, one byte short") << false << 1;
    QTest::newRow("doubles, inside the last value") << true << 5;
    QTest::newRow("doubles, half a block") << true << 16;
}

void TstResultFile::cutBlockChangesNoSum() {
    QFETCH(bool, doubles);
    QFETCH(int, drop);
    const QString path = dir.filePath("cut.txt");
    QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(4, !doubles),
                                    {{1, 1, {1, 2, 3, 4}}, {2, 1, {5, 6, 7, 8}}}, doubles, drop, true));
    QVector<double> sum(4, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 2, 2, sum), -3);
    QCOMPARE(sum, QVector<double>(4, 0.0));
    QVector<QVector<double>> matrix(2, QVector<double>(4, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 2, matrix, 4), -3);
    QCOMPARE(matrix, QVector<QVector<double>>(2, QVector<double>(4, 0.0)));
    Sums sums = zeroSums({1, 2}, 4);
    QString errors;
    QVERIFY(!ResultFile::addFourierHashFromFile(path, 2, 0, 0, 0, sums, 4, errors));
    QCOMPARE(sums, zeroSums({1, 2}, 4));
    // The intact first record is still there for a reader that needs only it.
    QCOMPARE(ResultFile::addFourierFromFile(path, 2, 1, sum), 1);
    QCOMPARE(sum, QVector<double>({1, 2, 3, 4}));
}

void TstResultFile::notANumber_data() {
    QTest::addColumn<bool>("typeFloat");
    QTest::newRow("float") << true;
    QTest::newRow("double") << false;
}

void TstResultFile::notANumber() {
    QFETCH(bool, typeFloat);
    const double infinity = std::numeric_limits<double>::infinity();
    const QString path = dir.filePath("nan.txt");
    QVERIFY(ResultFileWriter::write(
        path, ResultFileWriter::header(3, typeFloat),
        {{1, 1, {1, notNumber, 3}}, {2, 1, {notNumber, notNumber, 6}}, {3, 1, {7, -infinity, 9}}}, !typeFloat,
        0, true));
    // A NaN leaves its sum as it was, down to the sign of a zero.
    QVector<double> sum = {10, -0.0, 10};
    QCOMPARE(ResultFile::addFourierFromFile(path, 3, 1, sum), 1);
    QCOMPARE(sum, QVector<double>({11, 0, 13}));
    QVERIFY(std::signbit(sum[1]));

    // The hash reader counts NaN and infinity as 0 and reads on, past the block.
    Sums sums = zeroSums({1, 2, 3}, 3);
    QString errors;
    QVERIFY(ResultFile::addFourierHashFromFile(path, 3, 0, 0, 0, sums, 3, errors));
    QCOMPARE(sums.value("f00_n0_av0_d1"), QVector<double>({1, 0, 3}));
    QCOMPARE(sums.value("f00_n0_av0_d2"), QVector<double>({0, 0, 6}));
    QCOMPARE(sums.value("f00_n0_av0_d3"), QVector<double>({7, 0, 9}));

    QVector<QVector<double>> matrix(3, QVector<double>(3, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 3, matrix, 3), 1);
    QCOMPARE(matrix[1], QVector<double>({0, 0, 6}));
}

void TstResultFile::sumsOfWrongShape() {
    const QString path = dir.filePath("shape.txt");
    QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(3, true),
                                    {{1, 1, {1, 2, 3}}, {2, 1, {4, 5, 6}}}, false, 0, true));
    // A missing row or a short row refuses the file before anything is added.
    QVector<QVector<double>> oneRow(1, QVector<double>(3, 0.0));
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 2, oneRow, 3), -3);
    QCOMPARE(oneRow[0], QVector<double>(3, 0.0));
    QVector<QVector<double>> shortRow = {QVector<double>(3, 0.0), QVector<double>(2, 0.0)};
    QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 2, shortRow, 3), -3);
    QCOMPARE(shortRow[0], QVector<double>(3, 0.0));

    Sums missing = zeroSums({1}, 3);
    QString errors;
    QVERIFY(!ResultFile::addFourierHashFromFile(path, 2, 0, 0, 0, missing, 3, errors));
    QCOMPARE(missing, zeroSums({1}, 3));
    QVERIFY(errors.contains("DM 2"));

    QVERIFY(!ResultFile::addFourierHashFromFile(dir.filePath("absent.txt"), 2, 0, 0, 0, missing, 3, errors));
    QCOMPARE(errors, "Error of open file " + dir.filePath("absent.txt"));
    QVector<double> sum(3, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(dir.filePath("absent.txt"), 2, 1, sum), -1);
    QCOMPARE(ResultFile::addFourierMatrixFromFile(dir.filePath("absent.txt"), 2, shortRow, 3), -1);
}

void TstResultFile::writtenRecordsWithoutDays() {
    // A record without days gets no block, so the records after it stay in step.
    const QString path = dir.filePath("f12_n1_av3.txt");
    double a[] = {1, 2};
    double b[] = {3, 4};
    double c[] = {5, 6};
    double* blocks[] = {a, b, c};
    const int days[] = {0, -1, 4};
    QVERIFY(FourierCalculate::writeFourier(blocks, days, path, 2, 2, 3, true, {10, 20, 30}));
    QVERIFY(readAll(path).startsWith(
        "year: \ncount_month: \npoints: 2\nfirst_point: 2\naverageCount: 3\n"
        "averageWithNull: 1\ndisp: 10\ndays: 0\n\ndisp: 20\ndays: -1\n\ndisp: 30\n"));
    QVector<double> sum(2, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 3, 30, sum), 1);
    QCOMPARE(sum, QVector<double>({5, 6}));
    QVERIFY(!FourierCalculate::writeFourier(blocks, days, dir.path(), 2, 0, 0, false, {1}));
}

void TstResultFile::layoutShortcut_data() {
    // Files read with the DM list they were written for: a regular file lets the reader go straight to
    // the record; any irregularity must still give what walking the heads gives.
    QTest::addColumn<QVector<Record>>("records");
    QTest::addColumn<int>("dm");
    QTest::addColumn<int>("result");
    QTest::addColumn<QVector<double>>("sum");
    const QVector<double> a = {1, 2}, b = {3, 4}, c = {5, 6};
    QTest::newRow("regular") << QVector<Record>{{0, 1, a}, {4, 1, b}, {100, 1, c}} << 100 << 1 << c;
    QTest::newRow("a record without block before it")
        << QVector<Record>{{0, 1, a}, {4, 0, {}}, {100, 1, c}} << 100 << 1 << c;
    QTest::newRow("longer day counts")
        << QVector<Record>{{0, 1, a}, {4, 12345, b}, {100, 7, c}} << 100 << 1 << c;
    QTest::newRow("DM missing from the file")
        << QVector<Record>{{0, 1, a}, {4, 1, b}} << 100 << -2 << QVector<double>(2, 0.0);
    QTest::newRow("other DMs in its place")
        << QVector<Record>{{0, 1, a}, {4, 1, b}, {99, 1, c}} << 100 << -2 << QVector<double>(2, 0.0);
    QTest::newRow("its own record cut")
        << QVector<Record>{{0, 1, a}, {4, 1, b}, {100, 1, {5}}} << 100 << -3 << QVector<double>(2, 0.0);
}

void TstResultFile::layoutShortcut() {
    QFETCH(QVector<Record>, records);
    QFETCH(int, dm);
    QFETCH(int, result);
    QFETCH(QVector<double>, sum);
    const QString path = dir.filePath("layout.txt");
    QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(2, true), records, false, 0, true));
    QVector<double> got(2, 0.0);
    QCOMPARE(ResultFile::addFourierFromFile(path, 3, dm, got, {0, 4, 100}), result);
    QCOMPARE(got, sum);
}

QTEST_GUILESS_MAIN(TstResultFile)
#include "tst_resultfile.moc"
