#include "directory/calc/harmonics3sigmafile.h"
#include "directory/calc/mapfile.h"
#include "directory/calc/resultfile.h"
#include "native/searchresultparser.h"
#include "profiles/profilefile.h"
#include "profiles/statisticsfile.h"
#include "support/messagelog.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

// One rule for every reader of values: a NaN, an infinity or a number beyond the double range counts 0,
// the values around it stay, and the file (or block) says so in one debug line, however many it holds.

namespace {

int reportLines(const MessageLog& log) {
    int n = 0;
    for (const QString& line : log.lines()) {
        n += line.contains("not finite numbers") || line.startsWith("Error4!") || line.startsWith("Error5!");
    }
    return n;
}

bool writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// The token as a binary value: the text's overflow is an infinity there.
double binaryValue(const QByteArray& token) {
    if (token == "nan") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double inf = std::numeric_limits<double>::infinity();
    return token.startsWith('-') ? -inf : inf;
}

} // namespace

class TestNonFiniteValues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init() { log = std::make_unique<MessageLog>(); }
    void cleanup() { log.reset(); }
    void countZeroWithOneLine_data();
    void countZeroWithOneLine();

private:
    QTemporaryDir dir;
    std::unique_ptr<MessageLog> log;
};

void TestNonFiniteValues::countZeroWithOneLine_data() {
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("token");
    for (const char* reader : {"result file, one DM", "result file, matrix", "result file, hash", "profile",
                               "statistics", "search result", "map", "3-sigma"}) {
        for (const char* token : {"nan", "inf", "-inf", "1e400"}) {
            QTest::addRow("%s: %s", reader, token) << QString(reader) << QByteArray(token);
        }
    }
}

void TestNonFiniteValues::countZeroWithOneLine() {
    QFETCH(QString, reader);
    QFETCH(QByteArray, token);
    const QString path = dir.filePath("values.txt");
    const double bad = binaryValue(token);

    if (reader.startsWith("result file")) {
        // Float blocks for the DM reader and the hash, double blocks for the matrix.
        const bool floats = reader != "result file, matrix";
        QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(4, floats),
                                        {{5, 1, {1, bad, 3, bad}}, {6, 1, {1, 2, 3, 4}}}, !floats, 0, true));
        const QVector<double> expected{1, 0, 3, 0};
        if (reader == "result file, one DM") {
            QVector<double> sum(4, 0.0);
            QCOMPARE(ResultFile::addFourierFromFile(path, 2, 5, sum), 1);
            QCOMPARE(sum, expected);
        } else if (reader == "result file, matrix") {
            QVector<QVector<double>> matrix(2, QVector<double>(4, 0.0));
            QCOMPARE(ResultFile::addFourierMatrixFromFile(path, 2, matrix, 4), 1);
            QCOMPARE(matrix[0], expected);
            QCOMPARE(matrix[1], QVector<double>({1, 2, 3, 4}));
        } else {
            QHash<QString, QVector<double>> sums{{"f00_n0_av0_d5", QVector<double>(4, 0.0)},
                                                 {"f00_n0_av0_d6", QVector<double>(4, 0.0)}};
            QString errors;
            QVERIFY(ResultFile::addFourierHashFromFile(path, 2, 0, 0, 0, sums, 4, errors));
            QCOMPARE(sums.value("f00_n0_av0_d5"), expected);
        }
    } else if (reader == "profile") {
        QVERIFY(writeText(path, "period=0.5\n1 " + token + " 3 " + token + "\n"));
        ProfileFile file;
        QVERIFY(ProfileFile::read(path, file));
        QCOMPARE(file.blocks.size(), 1);
        QCOMPARE(file.blocks[0].samples, QVector<double>({1, 0, 3, 0}));
        // An infinity no longer takes the maximum from the real samples.
        QCOMPARE(file.blocks[0].max, 3.0);
        QCOMPARE(file.blocks[0].maxIndex, 2);
        QCOMPARE(file.blocks[0].min, 0.0);
    } else if (reader == "statistics") {
        QVERIFY(writeText(path, "date;sigma;x;signal;snr;x\n2016.01.01;" + token + ";0;" + token + ";" +
                                    token + ";0\n2016.01.02;1;0;2;3;0\n"));
        QHash<QString, StatisticsRow> rows;
        QVERIFY(StatisticsFile::read(path, rows));
        QCOMPARE(rows.value("2016.01.01").sigma, 0.0);
        QCOMPARE(rows.value("2016.01.01").signal, 0.0);
        QCOMPARE(rows.value("2016.01.01").snr, 0.0);
        QCOMPARE(rows.value("2016.01.02").snr, 3.0);
    } else if (reader == "search result") {
        QVERIFY(writeText(path, "disp=10\n1 " + token + " 3 " + token + "\n"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        SearchResultParser parser;
        parser.addAll(file);
        QCOMPARE(parser.series().value("10"), QVector<double>({1, 0, 3, 0}));
        QCOMPARE(parser.maximum(), 3.0);
        QCOMPARE(parser.minimum(), 0.0);
    } else if (reader == "map") {
        QVERIFY(writeText(path, "position dispersion harmonic snr period\nf00_n1_av0\t57\t3\t" + token +
                                    "\t" + token + "\nf00_n1_av0\t57\t4\t6.5\t0.5\n"));
        QVector<MapPoint> points;
        QCOMPARE(MapFile::read(path, points, {}), QString());
        QCOMPARE(points.size(), 2);
        QCOMPARE(points[0].snr, 0.0);
        QCOMPARE(points[0].period, 0.0);
        QCOMPARE(points[1].snr, 6.5);
    } else if (reader == "3-sigma") {
        QTemporaryDir sigmaDir;
        // An S/N that counts 0 is below every threshold: only the clean line makes a record.
        QVERIFY(writeText(sigmaDir.filePath("harmonics_3sigma.txt"),
                          "x\tf00_n0_av0\t57\t12\t" + token +
                              "\tx\t010119_01_N2.pnt\n"
                              "x\tf00_n0_av0\t57\t13\t" +
                              token +
                              "\tx\t010119_01_N2.pnt\n"
                              "x\tf00_n0_av0\t57\t14\t5.5\tx\t010119_01_N2.pnt\n"));
        Harmonics3sigma out;
        QCOMPARE(Harmonics3sigmaFile::read(sigmaDir.path(), 3, {}, out, {}), QString());
        QCOMPARE(out.harmonics, QVector<int>({14}));
    }
    QCOMPARE(reportLines(*log), 1);
}

QTEST_MAIN(TestNonFiniteValues)
#include "tst_nonfinitevalues.moc"
