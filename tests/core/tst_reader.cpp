#include "core/reader.h"
#include "support/messagelog.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>

#ifdef __SANITIZE_ADDRESS__
// Fresh allocations come filled with garbage, so that a sample nobody wrote cannot pass for a zero.
extern "C" const char* __asan_default_options() {
    return "max_malloc_fill_size=2147483647";
}
#endif

namespace {

// Everything written to standard output while `run` runs.
template <typename F> QByteArray captureStdout(F run) {
    std::fflush(stdout);
    QTemporaryFile tmp;
    tmp.open();
    const int saved = dup(fileno(stdout));
    dup2(tmp.handle(), fileno(stdout));
    run();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    tmp.seek(0);
    return tmp.readAll();
}

qint64 fakeNow = 0;
qint64 jumpingClock() {
    fakeNow += qint64(3601) * 1000;
    return fakeNow;
}

QStringList boxTexts(const RecordingDesktop& desktop) {
    QStringList out;
    for (const auto& c : desktop.boxes()) {
        out << c.kind + " " + c.title + ": " + c.text;
    }
    return out;
}

QList<int> values(const QSignalSpy& spy) {
    QList<int> out;
    for (const QList<QVariant>& args : spy) {
        out << args.at(0).toInt();
    }
    return out;
}

} // namespace

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void passportRules_data();
    void passportRules();
    void dates_data();
    void dates();
    void sampleOrderAndProgress();
    void missingFile();
    void impossibleCounts_data();
    void impossibleCounts();
    void shortFileWithWindow();
    void shortFileWithoutWindow();
    void fileShrinksWhileRead();
    void timeLimit();
    void pulseTrainLinesUpAtItsDm();
    void seriesReadGivesWhatReadFileGives_data();
    void seriesReadGivesWhatReadFileGives();

private:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestReader::init() {
    QVERIFY(dir.isValid());
}

void TestReader::cleanup() {
    Reader::setClock(nullptr);
}

void TestReader::passportRules_data() {
    QTest::addColumn<QByteArray>("passport");
    QTest::addColumn<int>("npoints");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("modules");
    QTest::addColumn<int>("firstModule");
    QTest::addColumn<int>("rays");
    QTest::addColumn<int>("bands");
    QTest::addColumn<QString>("debug");

    QString bands32;
    for (int i = 0; i < 32; ++i) {
        bands32 += QString::number(109.0 + i * 0.078125) + (i < 31 ? " " : "");
    }
    const QByteArray fb = "fbands " + bands32.toUtf8() + "\n";
    QTest::newRow("line count after a blank")
        << QByteArray("numpar  12\nnpoints 0\nchannels 3\nmodules 1\n") << 0 << 3 << 1 << 1 << 8 << 1 << "";
    QTest::newRow("line count alone")
        << QByteArray("5\nnpoints 7\nchannels 3\nmodules 1\nrays 2\n") << 7 << 3 << 1 << 1 << 2 << 1 << "";
    QTest::newRow("line count not a number") << QByteArray("numpar x\nnpoints 7\nchannels 3\nmodules 1\n")
                                             << 0 << 0 << -1 << 1 << 0 << 0 << "Error! No channels in file!";
    QTest::newRow("tab then blank") << QByteArray("numpar 4\nnpoints\t 16384\nchannels 3\nmodules 1\n")
                                    << 16384 << 3 << 1 << 1 << 8 << 1 << "";
    QTest::newRow("nbands wins over fbands") << "numpar 5\nnbands 32\n" + fb + "modulus 1\nrays 8\n"
                                             << 0 << 33 << 1 << 1 << 8 << 32 << "";
    QTest::newRow("fbands alone") << "numpar 3\n" + fb + "modulus 1\n" << 0 << 33 << 1 << 1 << 8 << 32 << "";
    QTest::newRow("double blank adds a band")
        << QByteArray("numpar 3\nfbands 109.5  110.5\nmodulus 1\n") << 0 << 4 << 1 << 1 << 8 << 3 << "";
    QTest::newRow("modulus") << QByteArray("numpar 3\nchannels 3\nmodulus 3 4 5\n") << 0 << 3 << 3 << 3 << 8
                             << 1 << "";
    QTest::newRow("modules") << QByteArray("numpar 3\nchannels 3\nmodules 1 2\n") << 0 << 3 << 2 << 1 << 8
                             << 1 << "";
    QTest::newRow("channels key, later duplicate wins")
        << QByteArray("numpar 5\nchannels 3\nmodules 1\nchannels 9\nrays 4\n") << 0 << 9 << 1 << 1 << 4 << 1
        << "";
    QTest::newRow("no modules") << QByteArray("numpar 3\nnpoints 100\nchannels 3\n") << -1 << 3 << -1 << 1
                                << 0 << 0 << "Error! No modules in file!";
    QTest::newRow("passport longer than the file")
        << QByteArray("numpar 1000000000\nnpoints 0\nchannels 3\nmodules 1\n") << 0 << 3 << 1 << 1 << 8 << 1
        << "";
    QTest::newRow("NUL ends a line") << QByteArray("numpar 4\nnpoints 5") + QByteArray(1, '\0') +
                                            "garbage\nchannels 3\nmodules 1\n"
                                     << 5 << 3 << 1 << 1 << 8 << 1 << "";
}

void TestReader::passportRules() {
    QFETCH(QByteArray, passport);
    QFETCH(QString, debug);
    QVERIFY(ObsFileWriter::writeRaw(path("p.pnt"), passport));
    if (!debug.isEmpty()) {
        QTest::ignoreMessage(QtDebugMsg, debug.toUtf8().constData());
    }
    Reader reader;
    const Data d = reader.readFile(path("p.pnt"), true);
    QTEST(d.npoints, "npoints");
    QTEST(d.channels, "channels");
    QTEST(d.modules, "modules");
    QTEST(d.firstModule, "firstModule");
    QTEST(d.rays, "rays");
    QTEST(d.fbands.size(), "bands");
    QVERIFY(d.samples == nullptr);
    QCOMPARE(d.fileName, QStringLiteral("p.pnt"));
    QCOMPARE(d.filePath, path("p.pnt"));
}

void TestReader::dates_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("start"); // "" = invalid
    QTest::newRow("Moscow time moves 3 h back across midnight")
        << QStringList{"date_begin 02.03.2020", "time_begin 01:30:00"} << "01.03.2020 22:30:00";
    QTest::newRow("UTC stays") << QStringList{"date_begin 02.03.2020", "time_begin UTC 01:30:00"}
                               << "02.03.2020 01:30:00";
    QTest::newRow("one-digit hour after a blank")
        << QStringList{"date_begin  2020 02.03.2020", "time_begin UTC  1:30:00"} << "02.03.2020 01:30:00";
    QTest::newRow("star_time replaces the time of day after the move")
        << QStringList{"date_begin 02.03.2020", "time_begin 01:30:00", "star_time 05:06:07"}
        << "01.03.2020 05:06:07";
    QTest::newRow("stairs_names") << QStringList{"date_begin 02.03.2020", "time_begin 01:30:00",
                                                 "stairs_names a b"}
                                  << "";
    QTest::newRow("bad date") << QStringList{"date_begin 32.03.2020", "time_begin 01:30:00"} << "";
    QTest::newRow("bad star_time") << QStringList{"date_begin 02.03.2020", "time_begin 01:30:00",
                                                  "star_time 5:6"}
                                   << "";
    QTest::newRow("no time") << QStringList{"date_begin 02.03.2020"} << "";
    QTest::newRow("CR LF line ends") << QStringList{"date_begin 02.03.2020\r", "time_begin 01:30:00\r"}
                                     << "01.03.2020 22:30:00";
}

void TestReader::dates() {
    QFETCH(QStringList, lines);
    QFETCH(QString, start);
    lines << "channels 3"
          << "modules 1"
          << "native_datetime 2020-03-02 01:30";
    QVERIFY(ObsFileWriter::writeRaw(path("d.pnt"), ObsFileWriter::passportFromLines(lines)));
    Reader reader;
    const Data d = reader.readFile(path("d.pnt"), true);
    QCOMPARE(d.startDateTime.isValid(), !start.isEmpty());
    if (!start.isEmpty()) {
        QCOMPARE(d.startDateTime.toString("dd.MM.yyyy hh:mm:ss"), start);
    }
    QCOMPARE(d.nativeDatetime, QStringLiteral("2020-03-02 01:30"));
}

void TestReader::sampleOrderAndProgress() {
    ObsFileWriter::Description desc;
    desc.npoints = 2500;
    desc.modules = 2;
    desc.firstModule = 4;
    desc.nbands = 2;
    desc.rays = 2;
    desc.tresolution = 100.0;
    desc.value = [](int p, int m, int r, int c) { return float(1000 * p + 100 * m + 10 * r + c); };
    QVERIFY(ObsFileWriter::write(path("order.pnt"), desc));
    // Trailing bytes after the samples are ignored.
    QFile f(path("order.pnt"));
    QVERIFY(f.open(QIODevice::Append));
    f.write("trailing");
    f.close();

    RecordingDesktop desktop;
    Reader reader;
    QSignalSpy spy(&reader, &Reader::progress);
    Data d = reader.readFile(path("order.pnt"), false);
    QCOMPARE(values(spy), (QList<int>{0, 40, 80, 100}));
    QCOMPARE(d.npoints, 2500);
    QCOMPARE(d.modules, 2);
    QCOMPARE(d.firstModule, 4);
    QCOMPARE(d.channels, 3);
    QCOMPARE(d.rays, 2);
    QCOMPARE(d.tres, 0.1);
    QCOMPARE(d.factor, 0.89);
    QCOMPARE(d.mark, -1.0);
    QVERIFY(!d.notOwner);
    QVERIFY(d.samples);
    for (int m = 0; m < 2; ++m) {
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 2; ++r) {
                for (int p : {0, 1, 999, 1000, 2499}) {
                    QCOMPARE(d.samples[m][c][r][p], float(1000 * p + 100 * m + 10 * r + c));
                }
            }
        }
    }
    QVERIFY(desktop.boxes().isEmpty());
    freeSamples(d);
}

void TestReader::missingFile() {
    Reader reader;
    const Data d = reader.readFile(path("none/missing.pnthr"), false);
    QCOMPARE(d.npoints, 0);
    QCOMPARE(d.fileName, QStringLiteral("missing.pnthr"));
    QCOMPARE(d.filePath, path("none/missing.pnthr"));
    QVERIFY(d.samples == nullptr);
}

void TestReader::impossibleCounts_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("debug");
    const QString bad = "^Error! Impossible counts in file!";
    const QString fewer = "^Error! File holds 0 points";
    QTest::newRow("negative npoints") << QStringList{"npoints -5", "nbands 2", "modulus 1", "rays 1"} << bad;
    QTest::newRow("negative rays") << QStringList{"npoints 5", "nbands 2", "modulus 1", "rays -1"} << bad;
    QTest::newRow("no channels left") << QStringList{"npoints 5", "nbands -1", "modulus 1", "rays 1"} << bad;
    QTest::newRow("nbands at the int limit")
        << QStringList{"npoints 5", "nbands 2147483647", "modulus 1", "rays 1"} << bad;
    QTest::newRow("product overflows")
        << QStringList{"npoints 2000000000", "nbands 2000000000", "modulus 1 2 3 4", "rays 2000000000"}
        << fewer;
    QTest::newRow("far more points than the file holds")
        << QStringList{"npoints 1000000000", "nbands 32", "modulus 1", "rays 8"} << fewer;
    QTest::newRow("no npoints") << QStringList{"nbands 2", "modulus 1", "rays 1"} << "";
}

void TestReader::impossibleCounts() {
    QFETCH(QStringList, lines);
    QFETCH(QString, debug);
    // A few samples follow, far fewer than any of these passports claims.
    QVERIFY(ObsFileWriter::writeRaw(path("bad.pnt"), ObsFileWriter::passportFromLines(lines),
                                    QByteArray(64, '\1')));
    if (!debug.isEmpty()) {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(debug));
    }
    Reader reader;
    Data d;
    const QByteArray out = captureStdout([&] { d = reader.readFile(path("bad.pnt"), false); });
    QCOMPARE(d.npoints, 0);
    QVERIFY(d.samples == nullptr);
}

void TestReader::shortFileWithWindow() {
    ObsFileWriter::Description desc;
    desc.npoints = 3000;
    desc.nbands = 6;
    desc.rays = 2;
    desc.value = [](int p, int, int, int c) { return float(p * 10 + c + 1); };
    // 1200 whole points and part of one more, ending inside a float.
    desc.sampleBytes = 1200 * ObsFileWriter::bytesPerPoint(desc) + 30;
    QVERIFY(ObsFileWriter::write(path("short.pnt"), desc));

    QWidget window;
    RecordingDesktop desktop;
    Reader reader;
    QSignalSpy spy(&reader, &Reader::progress);
    QTest::ignoreMessage(QtDebugMsg, "Error! File holds 1200 points, passport says 3000");
    Data d = reader.readFile(path("short.pnt"), false);
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().at(0).kind, QStringLiteral("information"));
    QCOMPARE(desktop.boxes().at(0).title, QStringLiteral("Data is heavily damaged"));
    QCOMPARE(desktop.boxes().at(0).text,
             QStringLiteral("File size is incorrect, data is broken, showing what I can."));
    QCOMPARE(values(spy), (QList<int>{0, 83}));
    QCOMPARE(d.npoints, 1200);
    QVERIFY(d.samples);
    QCOMPARE(d.samples[0][6][1][1199], float(11997));
    QCOMPARE(d.fileName, QStringLiteral("short.pnt"));
    freeSamples(d);
}

void TestReader::shortFileWithoutWindow() {
    ObsFileWriter::Description desc;
    desc.npoints = 100;
    desc.nbands = 6;
    desc.rays = 2;
    desc.sampleBytes = 5 * ObsFileWriter::bytesPerPoint(desc);
    QVERIFY(ObsFileWriter::write(path("short.pnt"), desc));
    RecordingDesktop desktop;
    Reader reader;
    Data d;
    QTest::ignoreMessage(QtDebugMsg, "Error! File holds 5 points, passport says 100");
    const QByteArray out = captureStdout([&] { d = reader.readFile(path("short.pnt"), false); });
    QCOMPARE(QString::fromLocal8Bit(out),
             QStringLiteral("File %1 has wrong size. Ignoring it.\n").arg(path("short.pnt")));
    QVERIFY(desktop.boxes().isEmpty());
    QCOMPARE(d.npoints, 0);
    QVERIFY(d.samples == nullptr);
    QVERIFY(d.fileName.isEmpty());
    QVERIFY(d.filePath.isEmpty());
}

// The file loses its tail after the reader sized it: the samples it no longer supplies, including those
// of the point cut inside a float, are zero.
void TestReader::fileShrinksWhileRead() {
    ObsFileWriter::Description desc;
    desc.npoints = 6000; // about 6 MB: more than one read
    desc.nbands = 32;
    desc.value = [](int p, int, int r, int c) { return float(p * 1000 + r * 40 + c + 1); };
    const QString file = path("shrinks.pnthr");
    QVERIFY(ObsFileWriter::write(file, desc));
    const qint64 passport = QFileInfo(file).size() - desc.npoints * ObsFileWriter::bytesPerPoint(desc);
    const qint64 keep = passport + 5000 * ObsFileWriter::bytesPerPoint(desc) + 10 * 4 + 2;

    QWidget window;
    RecordingDesktop desktop;
    QTimer::singleShot(0, [&] { QVERIFY(QFile::resize(file, keep)); });
    Reader reader;
    Data d = reader.readFile(file, false);
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().at(0).title, QStringLiteral("Data is heavily damaged"));
    QCOMPARE(d.npoints, 6000);
    QVERIFY(d.samples);
    // Every point before the cut, across the boundary between reads, holds its own values.
    int wrong = 0;
    for (int c = 0; c < 33; ++c) {
        for (int r = 0; r < 8; ++r) {
            for (int p = 0; p < 5000; ++p) {
                wrong += d.samples[0][c][r][p] != float(p * 1000 + r * 40 + c + 1);
            }
        }
    }
    QCOMPARE(wrong, 0);
    // Point 5000: the first ten channels of ray 0 arrived, the float cut in two did not.
    QCOMPARE(d.samples[0][9][0][5000], float(5000 * 1000 + 9 + 1));
    QCOMPARE(d.samples[0][10][0][5000], 0.0f);
    QCOMPARE(d.samples[0][0][1][5000], 0.0f);
    for (int p : {5001, 5500, 5999}) {
        QCOMPARE(d.samples[0][0][0][p], 0.0f);
        QCOMPARE(d.samples[0][32][7][p], 0.0f);
    }
    freeSamples(d);
}

void TestReader::timeLimit() {
    ObsFileWriter::Description desc;
    desc.npoints = 50;
    desc.nbands = 6;
    desc.rays = 1;
    desc.value = [](int p, int, int, int) { return float(p); };
    QVERIFY(ObsFileWriter::write(path("slow.pnt"), desc));
    Reader::setClock(jumpingClock);
    RecordingDesktop desktop;
    {
        QWidget window;
        Reader reader;
        QSignalSpy spy(&reader, &Reader::progress);
        Data d = reader.readFile(path("slow.pnt"), false);
        QCOMPARE(desktop.boxes().size(), 1);
        QCOMPARE(desktop.boxes().at(0).title, QStringLiteral("Very slow reading"));
        QCOMPARE(desktop.boxes().at(0).text,
                 QStringLiteral("You just can't live like that.\nThis warning won't show again."));
        QCOMPARE(values(spy).last(), 100);
        QCOMPARE(d.npoints, 50);
        QCOMPARE(d.samples[0][3][0][49], 49.0f);
        freeSamples(d);
    }
    desktop.calls.clear();
    Reader reader;
    Data d;
    const QByteArray out = captureStdout([&] { d = reader.readFile(path("slow.pnt"), false); });
    QCOMPARE(QString::fromLocal8Bit(out),
             QStringLiteral("File %1 is dead. More than 60mins to read. Aborting\n").arg(path("slow.pnt")));
    QVERIFY(desktop.boxes().isEmpty());
    QCOMPARE(d.npoints, 0);
    QVERIFY(d.samples == nullptr);
    QVERIFY(d.filePath.isEmpty());
}

void TestReader::pulseTrainLinesUpAtItsDm() {
    ObsFileWriter::Description desc;
    desc.npoints = 4000;
    desc.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 1.5;
    train.dm = 30;
    train.phase = 0.2;
    train.width = 2;
    train.baseline = 1.0f;
    desc.value = ObsFileWriter::pulseTrain(desc, train);
    QVERIFY(ObsFileWriter::write(path("pulsar.pnthr"), desc));
    Reader reader;
    Data d = reader.readFile(path("pulsar.pnthr"), false);
    QCOMPARE(d.channels, 33);
    const QVector<int> shifts = ObsFileWriter::dispersionShifts(d.fbands, train.dm, d.tres);
    QVERIFY(shifts[0] > shifts[30]);
    QCOMPARE(shifts[31], 0);
    const QVector<int> starts = ObsFileWriter::pulseStarts(train, d.tres, d.npoints);
    QCOMPARE(starts.size(), 34);
    QCOMPARE(starts.at(1), qRound((0.2 + 1.5) / d.tres));
    // Summing with the train's delays puts every channel's pulse on the same point.
    for (int k = starts.at(1) - 3; k <= starts.at(1) + 3; ++k) {
        double sum = 0;
        for (int c = 0; c < 32; ++c) {
            sum += d.samples[0][c][0][k + shifts[c]];
        }
        const bool on = k == starts.at(1) || k == starts.at(1) + 1;
        QCOMPARE(sum, on ? 32 * 101.0 : 32.0);
    }
    QCOMPARE(d.samples[0][32][0][starts.at(1)], 1.0f);
    freeSamples(d);
}

void TestReader::seriesReadGivesWhatReadFileGives_data() {
    QTest::addColumn<QByteArray>("passport"); // written alone instead of a described file when not empty
    QTest::addColumn<int>("npoints");
    QTest::addColumn<int>("modules");
    QTest::addColumn<int>("rays");
    QTest::addColumn<int>("nbands");
    QTest::addColumn<int>("wholePoints"); // of the samples written; -1: all
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("slow");
    QTest::addColumn<int>("seriesPoints"); // 0: no series

    // More than one chunk of a series read, whose ends fall inside points.
    QTest::newRow("one module, eight rays, seven channels")
        << QByteArray() << 3000 << 1 << 8 << 6 << -1 << true << false << 3000;
    QTest::newRow("two modules, three rays, nine channels")
        << QByteArray() << 1500 << 2 << 3 << 8 << -1 << false << false << 1500;
    QTest::newRow("five channels keep no series")
        << QByteArray() << 300 << 1 << 8 << 4 << -1 << true << false << 0;
    QTest::newRow("no points") << QByteArray() << 0 << 1 << 8 << 6 << -1 << true << false << 0;
    QTest::newRow("short, with a window")
        << QByteArray() << 3000 << 1 << 2 << 6 << 1200 << true << false << 1200;
    QTest::newRow("short, without a window")
        << QByteArray() << 3000 << 1 << 2 << 6 << 1200 << false << false << 0;
    QTest::newRow("slow, with a window") << QByteArray() << 50 << 1 << 1 << 6 << -1 << true << true << 50;
    QTest::newRow("slow, without a window") << QByteArray() << 50 << 1 << 1 << 6 << -1 << false << true << 0;
    QTest::newRow("empty passport") << QByteArray("\n") << 0 << 0 << 0 << 0 << -1 << true << false << 0;
    QTest::newRow("no modules") << QByteArray("numpar 3\nnpoints 100\nchannels 9\n") << 0 << 0 << 0 << 0 << -1
                                << true << false << 0;
}

// A series read on another thread, reported on this one, keeps what the form keeps of readFile's record
// (module 0, ray 0, channels 0 to 6) and gives the same debug lines, boxes and printed lines.
void TestReader::seriesReadGivesWhatReadFileGives() {
    QFETCH(QByteArray, passport);
    QFETCH(int, npoints);
    QFETCH(int, modules);
    QFETCH(int, rays);
    QFETCH(int, nbands);
    QFETCH(int, wholePoints);
    QFETCH(bool, window);
    QFETCH(bool, slow);
    QFETCH(int, seriesPoints);
    const QString file = path("series.pnt");
    if (!passport.isEmpty()) {
        QVERIFY(ObsFileWriter::writeRaw(file, passport, QByteArray(64, '\1')));
    } else {
        ObsFileWriter::Description desc;
        desc.npoints = npoints;
        desc.modules = modules;
        desc.rays = rays;
        desc.nbands = nbands;
        desc.value = [](int p, int m, int r, int c) { return float(p * 1000 + m * 100 + r * 10 + c); };
        if (wholePoints >= 0) {
            desc.sampleBytes = wholePoints * ObsFileWriter::bytesPerPoint(desc) + 30;
        }
        QVERIFY(ObsFileWriter::write(file, desc));
    }
    std::unique_ptr<QWidget> top(window ? new QWidget : nullptr);
    RecordingDesktop desktop;

    QVector<QVector<float>> expected;
    QStringList expectedLog;
    QByteArray expectedOut;
    {
        MessageLog log;
        fakeNow = 0;
        Reader::setClock(slow ? jumpingClock : nullptr);
        Reader reader;
        Data d;
        expectedOut = captureStdout([&] { d = reader.readFile(file, false); });
        if (d.samples && d.channels >= 7 && d.npoints > 0) {
            for (int c = 0; c < 7; ++c) {
                expected << QVector<float>(d.samples[0][c][0], d.samples[0][c][0] + d.npoints);
            }
        }
        freeSamples(d);
        expectedLog = log.lines();
    }
    const QStringList expectedBoxes = boxTexts(desktop);
    desktop.calls.clear();

    Reader::SeriesRead read;
    {
        MessageLog quiet;
        fakeNow = 0;
        std::thread([&] { read = Reader::readSeries(file, 7); }).join();
        QVERIFY(quiet.lines().isEmpty());
        QVERIFY(desktop.calls.isEmpty());
    }
    MessageLog log;
    const QByteArray out = captureStdout([&] { Reader::report(read); });
    QCOMPARE(log.lines(), expectedLog);
    QCOMPARE(boxTexts(desktop), expectedBoxes);
    QCOMPARE(out, expectedOut);
    QCOMPARE(read.series, expected);
    QCOMPARE(expected.value(0).size(), seriesPoints);
    if (seriesPoints > 0) {
        QCOMPARE(expected.size(), 7);
        QCOMPARE(expected[6][seriesPoints - 1], float((seriesPoints - 1) * 1000 + 6));
    }
}

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
