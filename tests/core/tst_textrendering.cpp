#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/data.h"
#include "core/reader.h"
#include "core/settings.h"
#include "core/showinfo.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <limits>

using Record = ResultFileWriter::Record;

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray headerBytes(const QStringList& header) {
    return header.join('\n').toUtf8() + '\n';
}

// Sample value of the observation fixture; two samples are out of the sane range.
float sampleValue(int p, int m, int r, int c) {
    if (p == 1 && m == 0 && r == 0 && c == 0) {
        return 1e-7f;
    }
    if (p == 2 && m == 1 && r == 1 && c == 2) {
        return 2e5f;
    }
    return float(p * 100 + m * 10 + r) + 0.5f * float(c);
}
} // namespace

class TstTextRendering : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void resultFileLineForLine();
    void resultFileValueType_data();
    void resultFileValueType();
    void resultFileBodies_data();
    void resultFileBodies();
    void resultFileArgumentErrors();
    void observationFile();
    void observationFileFailures();
    void dispatch_data();
    void dispatch();
    void observationFileShowsProgress();

private:
    QTemporaryDir dir;
};

void TstTextRendering::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TstTextRendering::resultFileLineForLine() {
    const QStringList header = ResultFileWriter::header(3, true);
    const QString in = dir.filePath("f00_n0_av0.txt");
    const QString out = dir.filePath("f00_n0_av0_text.txt");
    QVERIFY(ResultFileWriter::write(
        in, header, {{10, 2, {1.5, -2.25, 3}}, {20, 0, {}}, {30, 1, {0.1, 0.2, 1e6}}}, false));
    QCOMPARE(Reader::convertResultFileToText(in, out), QString());
    QCOMPARE(readAll(out), headerBytes(header) +
                               "disp: 10\ndays: 2\n1.5000000\n-2.2500000\n3.0000000\n\n"
                               "disp: 20\ndays: 0\n"
                               "disp: 30\ndays: 1\n0.1000000\n0.2000000\n1000000.0000000\n\n");
}

void TstTextRendering::resultFileValueType_data() {
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<bool>("doubles");
    QTest::newRow("first point, no type: doubles") << ResultFileWriter::header(2, false, "5") << true;
    QTest::newRow("type float wins over first point") << ResultFileWriter::header(2, true, "5") << false;
    QTest::newRow("empty first point: floats") << ResultFileWriter::header(2, false, "") << false;
    QStringList noFirst = ResultFileWriter::header(2, false);
    noFirst[3] = "something else";
    QTest::newRow("no first point line: floats") << noFirst << false;
}

void TstTextRendering::resultFileValueType() {
    QFETCH(QStringList, header);
    QFETCH(bool, doubles);
    const QString in = dir.filePath("f01_n0_av1.txt");
    const QString out = dir.filePath("f01_n0_av1_text.txt");
    QVERIFY(ResultFileWriter::write(in, header, {{7, 3, {0.123456789, -4}}}, doubles));
    QCOMPARE(Reader::convertResultFileToText(in, out), QString());
    const QByteArray first = doubles ? "0.1234568" : "0.1234568"; // float rounds the same at 7 decimals
    QCOMPARE(readAll(out), headerBytes(header) + "disp: 7\ndays: 3\n" + first + "\n-4.0000000\n\n");
    // Read with the wrong width the values would differ: check the width by the byte count used.
    QVERIFY(ResultFileWriter::write(in, header, {{7, 3, {1, 2}}, {8, 0, {}}}, doubles));
    QCOMPARE(Reader::convertResultFileToText(in, out), QString());
    QVERIFY(readAll(out).endsWith("1.0000000\n2.0000000\n\ndisp: 8\ndays: 0\n"));
}

void TstTextRendering::resultFileBodies_data() {
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error"); // "" for success, else %1 = the input path
    QTest::addColumn<QByteArray>("output");

    const QString inName = "f02_n0_av0.txt";
    const QString noPoints = QStringLiteral("ERROR!\nНеверный формат файла,\nнет points в паспорте\n%1");
    const QStringList good = ResultFileWriter::header(3, true);
    QStringList zero = good;
    zero[1] = "points: 0";
    QStringList negative = good;
    negative[1] = "points: -3";
    QStringList missing = good;
    missing[1] = "pts: 3";
    QTest::newRow("points 0") << zero << QByteArray("disp: 1\ndays: 1\n") << noPoints << QByteArray();
    QTest::newRow("points negative") << negative << QByteArray("disp: 1\ndays: 1\n") << noPoints
                                     << QByteArray();
    QTest::newRow("no points line") << missing << QByteArray() << noPoints << QByteArray();

    QTest::newRow("points line instead of days")
        << good << QByteArray("disp: 1\npoints: 3\n") << QStringLiteral("Error! No days in %1")
        << QByteArray("disp: 1\npoints: 3\n");

    const QByteArray oneBlock = ResultFileWriter::bytes({}, {{4, 1, {1, 2, 3}}}, false);
    QTest::newRow("truncated block") << good << oneBlock.left(oneBlock.size() - 5)
                                     << QStringLiteral(
                                            "Error! The file ends inside the values of a block in %1")
                                     << QByteArray("disp: 4\ndays: 1\n1.0000000\n");
    QStringList huge = good;
    huge[1] = "points: 2000000000";
    QTest::newRow("huge count, short block")
        << huge << oneBlock << QStringLiteral("Error! The file ends inside the values of a block in %1")
        << QByteArray("disp: 4\ndays: 1\n1.0000000\n2.0000000\n3.0000000\n");

    const QByteArray values = ResultFileWriter::bytes({}, {{0, 1, {1, 2, 3}}}, false).mid(16);
    QTest::newRow("days beyond int still have a block")
        << good << "disp: 4\ndays: 99999999999\n" + values + "\ndisp: 5\ndays: 0\n"
        << QString()
        << QByteArray("disp: 4\ndays: 99999999999\n1.0000000\n2.0000000\n3.0000000\n\ndisp: 5\ndays: 0\n");
    QTest::newRow("zeros are no days") << good << QByteArray("disp: 4\ndays: 000\ndisp: 5\ndays: \n")
                                       << QString() << QByteArray("disp: 4\ndays: 000\ndisp: 5\ndays: \n");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("values that are not finite")
        << good
        << ResultFileWriter::bytes({}, {{6, 1, {std::numeric_limits<double>::quiet_NaN(), inf, -inf}}}, false)
        << QString() << QByteArray("disp: 6\ndays: 1\nnan\ninf\n-inf\n\n");
    // Exact ties at the eighth decimal round away from zero; -0 has no sign.
    QTest::newRow("ties") << ResultFileWriter::header(5, true)
                          << ResultFileWriter::bytes(
                                 {}, {{7, 1, {1 / 256.0, -1 / 256.0, 47234.78515625, 0.19921875, -0.0}}},
                                 false)
                          << QString()
                          << QByteArray("disp: 7\ndays: 1\n0.0039063\n-0.0039063\n47234.7851563\n0.1992188\n"
                                        "0.0000000\n\n");
}

void TstTextRendering::resultFileBodies() {
    QFETCH(QStringList, header);
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    QFETCH(QByteArray, output);
    const QString in = dir.filePath("f02_n0_av0.txt");
    const QString out = dir.filePath("f02_n0_av0_text.txt");
    {
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(headerBytes(header) + body);
    }
    QCOMPARE(Reader::convertResultFileToText(in, out), error.isEmpty() ? error : error.arg(in));
    QCOMPARE(readAll(out), headerBytes(header) + output);
}

void TstTextRendering::resultFileArgumentErrors() {
    const QString in = dir.filePath("f03_n0_av0.txt");
    QVERIFY(ResultFileWriter::write(in, ResultFileWriter::header(1, true), {{1, 1, {1}}}, false));
    QCOMPARE(Reader::convertResultFileToText("", dir.filePath("o.txt")),
             QStringLiteral("ERROR!\nНет файла для чтения!"));
    const QString absent = dir.filePath("absent.txt");
    QCOMPARE(Reader::convertResultFileToText(absent, dir.filePath("o.txt")),
             QStringLiteral("ERROR!\nНе могу открыть файл для чтения\n") + absent);
    QCOMPARE(Reader::convertResultFileToText(in, ""), QStringLiteral("ERROR!\nНет файла для записи!"));
    QCOMPARE(Reader::convertResultFileToText(in, dir.path()),
             QStringLiteral("ERROR!\nНе могу открыть файл для записи\n") + dir.path());
    // Writing over the source would destroy it before it is read.
    const QByteArray source = readAll(in);
    const QString sameByAnotherName = dir.path() + "/./f03_n0_av0.txt";
    QCOMPARE(Reader::convertResultFileToText(in, sameByAnotherName),
             QStringLiteral("ERROR!\nНе могу открыть файл для записи\n") + sameByAnotherName);
    QCOMPARE(readAll(in), source);
}

void TstTextRendering::observationFile() {
    ObsFileWriter::Description d;
    d.npoints = 3;
    d.modules = 2;
    d.firstModule = 3;
    d.rays = 2;
    d.nbands = 2;
    d.value = sampleValue;
    const QString path = dir.filePath("obs.pnt");
    QVERIFY(ObsFileWriter::write(path, d));

    Reader reader;
    Data data = reader.readFile(path, false);
    QCOMPARE(data.npoints, 3);
    const QString out = dir.filePath("obs_pnt.txt");
    Data copy = data; // shares the samples
    struct Free {
        Data& d;
        ~Free() { freeSamples(d); }
    } release{data};
    QCOMPARE(Reader::writeDataAsText(data, out), 0);

    const QByteArray passport = ObsFileWriter::passportFromLines(ObsFileWriter::keyLines(d));
    const int firstEnd = passport.indexOf('\n');
    QByteArray expected = QByteArray::number(passport.count('\n')) + '\n' + passport.mid(firstEnd + 1) + '\n';
    for (int p = 0; p < 3; ++p) {
        for (int m = 0; m < 2; ++m) {
            for (int r = 0; r < 2; ++r) {
                expected += QStringLiteral("i=%1 m%2_r%3: ").arg(p + 1).arg(3 + m).arg(r + 1).toUtf8();
                for (int c = 0; c < 3; ++c) {
                    const float v = sampleValue(p, m, r, c);
                    expected += QByteArray::number(v == 1e-7f || v == 2e5f ? 0.0 : double(v), 'g', 6) + ' ';
                }
                expected += '\n';
            }
            expected += '\n';
        }
    }
    QCOMPARE(readAll(out), expected);
    QVERIFY(readAll(out).contains("i=2 m3_r1: 0 100.5 101 \n"));
    // The broken samples are cleared in the record every copy shares.
    QCOMPARE(copy.samples[0][0][0][1], 0.0f);
    QCOMPARE(copy.samples[1][2][1][2], 0.0f);
    QCOMPARE(copy.samples[1][2][1][1], 112.0f);

    // Samples are written as printf's %g writes them: exact ties to even, -0 with its sign.
    Data tie;
    tie.npoints = 1;
    tie.modules = 1;
    tie.firstModule = 1;
    tie.channels = 4;
    tie.rays = 1;
    QVERIFY(allocSamples(tie));
    const float values[] = {7974.125f, -0.0f, 2.5e-5f, 12345.25f};
    for (int c = 0; c < 4; ++c) {
        tie.samples[0][c][0][0] = values[c];
    }
    QCOMPARE(Reader::writeDataAsText(tie, out), 0);
    freeSamples(tie);
    QCOMPARE(readAll(out), QByteArray("\ni=1 m1_r1: 7974.12 -0 2.5e-05 12345.2 \n\n"));
}

void TstTextRendering::observationFileFailures() {
    Data data;
    data.npoints = 0;
    QCOMPARE(Reader::writeDataAsText(data, dir.path()), -1); // a directory cannot be written
    // A record whose source file is gone: the passport cannot be copied, a failure.
    data.filePath = dir.filePath("gone.pnt");
    const QString out = dir.filePath("gone_pnt.txt");
    QCOMPARE(Reader::writeDataAsText(data, out), -1);
    QCOMPARE(readAll(out), QByteArray());
    // Never written over its own source file.
    ObsFileWriter::Description d;
    d.npoints = 2;
    d.modules = 1;
    d.rays = 1;
    d.nbands = 1;
    const QString source = dir.filePath("self.pnt");
    QVERIFY(ObsFileWriter::write(source, d));
    const QByteArray before = readAll(source);
    Reader reader;
    Data self = reader.readFile(source, false);
    QCOMPARE(Reader::writeDataAsText(self, source), -1);
    freeSamples(self);
    QCOMPARE(readAll(source), before);
    // No source path: an empty passport part, one empty line, and nothing for a record without samples.
    data.filePath.clear();
    QCOMPARE(Reader::writeDataAsText(data, out), 0);
    QCOMPARE(readAll(out), QByteArray("\n"));
}

void TstTextRendering::dispatch_data() {
    QTest::addColumn<QString>("name"); // relative to the temporary directory
    QTest::addColumn<QString>(
        "kind"); // the fixture: "result", "pnt", "short", "blocked" (output taken), "none"
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text"); // %1 = the full input path, %2 = the full output path
    QTest::addColumn<QString>("output");

    const QString done = QStringLiteral("Файл переписан в текстовый вид:\n%2");
    const QString wrong =
        QStringLiteral("Неверный формат файла!\n%1\n\nЗдесь мы читаем и переписываем в текстовый "
                       "вид\nфайлы с Фурье/FFA формата f00_n0_av0.txt или pnt/pnthr-файлы\n"
                       "Выберите верный файл!");
    QTest::newRow("result, long averagings") << "f01_n0_av16.txt"
                                             << "result"
                                             << "Error" << done << "f01_n0_av16_text.txt";
    QTest::newRow("result, no averagings") << "f00_n1_av.txt"
                                           << "result"
                                           << "Error" << done << "f00_n1_av_text.txt";
    QTest::newRow("one digit after f") << "f1_n0_av1.txt"
                                       << "result"
                                       << "Error" << wrong << "";
    QTest::newRow("capital extension") << "obs.PNT"
                                       << "pnt"
                                       << "Error" << wrong << "";
    QTest::newRow("pnt") << "obs.pnt"
                         << "pnt"
                         << "Message"
                         << "npoints=3 num=0 file=%2"
                         << "obs_pnt.txt";
    QTest::newRow("pnthr in pnt dir") << "d.pnt/pnt.pnthr"
                                      << "pnt"
                                      << "Message"
                                      << "npoints=3 num=0 file=%2"
                                      << "d.pnt/pnt_pnthr.txt";
    QTest::newRow("output blocked") << "obs.pnt"
                                    << "blocked"
                                    << "Message"
                                    << "npoints=3 num=-1 file=%2"
                                    << "obs_pnt.txt";
    QTest::newRow("one point") << "short.pnt"
                               << "short"
                               << "Error"
                               << "Error of read file!"
                               << "";
    QTest::newRow("missing pnt") << "none.pnt"
                                 << "none"
                                 << "Error"
                                 << "Error of read file!"
                                 << "";
    QTest::newRow("missing result") << "f00_n0_av0.txt"
                                    << "none"
                                    << "Error"
                                    << "ERROR!\nНе могу открыть файл для чтения\n%1"
                                    << "";
}

void TstTextRendering::dispatch() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, output);
    QTemporaryDir here;
    QVERIFY(QDir(here.path()).mkpath("d.pnt"));
    const QString in = here.filePath(name);
    const QString out = output.isEmpty() ? QString() : here.filePath(output);
    ObsFileWriter::Description d;
    d.npoints = kind == "short" ? 1 : 3;
    d.modules = 1;
    d.rays = 2;
    d.nbands = 2;
    if (kind == "result") {
        QVERIFY(ResultFileWriter::write(in, ResultFileWriter::header(1, true), {{1, 1, {2}}}, false));
    } else if (kind == "pnt" || kind == "short" || kind == "blocked") {
        QVERIFY(ObsFileWriter::write(in, d));
    }
    if (kind == "blocked") {
        QVERIFY(QDir(here.path()).mkpath(output)); // a directory where the rendering should go
    }

    RecordingDesktop desktop;
    QWidget parent;
    ShowInfo info(&parent);
    info.rewriteToText(in);
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().first().kind, QString("warning"));
    QCOMPARE(desktop.boxes().first().title, title);
    QCOMPARE(desktop.boxes().first().text, QString(text).replace("%1", in).replace("%2", out));
    if (!out.isEmpty()) {
        QVERIFY(QFile::exists(out));
    }
    QCOMPARE(QDir(here.path()).entryList(QDir::Files).size() +
                 QDir(here.filePath("d.pnt")).entryList(QDir::Files).size(),
             (kind == "none" ? 0 : 1) + (out.isEmpty() || kind == "blocked" ? 0 : 1));
}

// Reading and writing an hour file take seconds each: the status-bar bar runs through both halves, and
// the window keeps painting (timers fire) while nothing the user does can start other work.
void TstTextRendering::observationFileShowsProgress() {
    ObsFileWriter::Description d;
    d.npoints = 5000;
    d.rays = 2;
    d.nbands = 2;
    const QString in = dir.filePath("long.pnt");
    QVERIFY(ObsFileWriter::write(in, d));

    MainWindow window;
    RecordingDesktop desktop;
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    bar->hide();
    QVector<int> values;
    bool shownThroughout = true;
    connect(bar, &QProgressBar::valueChanged, [&](int v) {
        values << v;
        shownThroughout = shownThroughout && !bar->isHidden();
    });
    int ticks = 0;
    bool busyEachTick = true;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        busyEachTick = busyEachTick && BusyGuard::busy();
    });
    timer.start(0);
    ShowInfo* info = new ShowInfo(&window);
    info->rewriteToText(in);
    timer.stop();

    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().first().title, QString("Message"));
    QVERIFY(shownThroughout);
    QVERIFY(bar->isHidden());
    QCOMPARE(values.first(), 0);
    QCOMPARE(values.last(), 100);
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    // Writing moves the bar through its second half too, a step per 1000 points.
    QCOMPARE(std::count_if(values.begin(), values.end(), [](int v) { return v > 50 && v < 100; }), 4);
    QVERIFY(ticks > 5);
    QVERIFY(busyEachTick);
    QVERIFY(!BusyGuard::busy());
}

QTEST_MAIN(TstTextRendering)
#include "tst_textrendering.moc"
