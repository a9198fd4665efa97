#include "app/mainwindow.h"
#include "core/settings.h"
#include "single/pulsargrafik.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QLayout>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

// Damaged observation files opened through every menu entry that takes a file: each one must end in
// the system's own boxes and a view or an empty work area, and the next valid file must open as usual.

namespace {

const QString damaged = QStringLiteral(
    "information|Data is heavily damaged|File size is incorrect, data is broken, showing what I can.");
const QString withoutData = QStringLiteral("warning|Error|Bad file!\nFile without data");
const QString shortData = QStringLiteral("warning|Error|Bad file!\nFile with short data, must be long data");
const QString noArrays = QStringLiteral("warning|Error|There is arrays of numbers in file!");
const QString readError = QStringLiteral("warning|Error|Error of read file!");

// What each menu entry builds in the work area from a file it accepts.
struct Entry {
    const char* action;
    const char* kind; // "native", "fourier", "ffa", "arrays", "text"
};
const Entry entries[] = {
    {"actionShow_native_data", "native"}, {"actionShowNativeWithoutStep", "native"},
    {"actionOneFourier", "fourier"},      {"actionOneFFA", "ffa"},
    {"actionShowArraysFile", "arrays"},   {"actionReadBinToText", "text"},
};

QStringList laidOut(const QString& kind) {
    if (kind == "native") {
        return {"NativeGrafik", "NativeRight"};
    }
    if (kind == "fourier") {
        return {"PulsarForm", "PulsarGrafik", "PulsarGrafikInfo"};
    }
    if (kind == "ffa") {
        return {"FfaForm", "PulsarGrafik", "FfaGrafikInfo"};
    }
    if (kind == "arrays") {
        return {"ArrayGrafik"};
    }
    return {};
}

// The one-file forms need more than 39999 points; the other views take any file with data.
bool needsLongFile(const QString& kind) {
    return kind == "fourier" || kind == "ffa";
}

QString textName(const QString& path) {
    return path.endsWith(".pnthr") ? path.left(path.size() - 6) + "_pnthr.txt"
                                   : path.left(path.size() - 4) + "_pnt.txt";
}

// Boxes as "kind|title|text", one after another, so that a failure shows their texts.
QString boxesOf(const RecordingDesktop& desktop, int from) {
    QStringList out;
    const QList<RecordingDesktop::Call> boxes = desktop.boxes();
    for (int i = from; i < boxes.size(); ++i) {
        out << boxes[i].kind + "|" + boxes[i].title + "|" + boxes[i].text;
    }
    return out.join("\n--\n");
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Deterministic bytes with no structure.
QByteArray noise(int size) {
    QByteArray out(size, '\0');
    quint32 x = 0x2545F491u;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = char(x >> 24);
    }
    return out;
}

} // namespace

class TestDamagedFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void menuEntryOnDamagedFile_data();
    void menuEntryOnDamagedFile();
    void everyActionOnNanSamples_data();
    void everyActionOnNanSamples();

private:
    QString path(const QString& name) const { return dir.filePath(name); }
    // Opens a file through a menu entry; returns the boxes it raised.
    QString open(const QString& action, const QString& file);
    // Classes laid out in the work area, in order, each shown and a child of the work area.
    QStringList workArea() const;
    // The work area holds exactly these, the progress bar is put away, and the window paints.
    void checkView(const QStringList& expected);

    QTemporaryDir dir;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestDamagedFiles::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());

    ObsFileWriter::Description small;
    small.npoints = 1000;
    small.rays = 7;
    small.nbands = 2;
    small.value = ObsFileWriter::whiteNoise(10.0f);
    QVERIFY(ObsFileWriter::write(path("short.pnt"), small));

    ObsFileWriter::Description big = small;
    big.npoints = 40001;
    QVERIFY(ObsFileWriter::write(path("valid.pnthr"), big));

    QVERIFY(ObsFileWriter::writeRaw(path("empty.pnt"), QByteArray()));

    ObsFileWriter::Description header = big;
    header.sampleBytes = 0;
    QVERIFY(ObsFileWriter::write(path("header_only.pnt"), header));

    // A later key replaces an earlier one, so each override follows the real counts.
    const QList<QPair<QString, QString>> absurd = {
        {"negative_points.pnt", "npoints\t-5"},
        {"negative_channels.pnt", "nbands\t-3"},
        {"negative_rays.pnt", "rays\t-1"},
        {"huge_points.pnt", "npoints\t1000000000000"},
        {"huge_channels.pnt", "nbands\t2000000000"},
        {"huge_modules.pnt", "modulus\t1" + QString(" 1").repeated(100000)},
    };
    for (const auto& a : absurd) {
        ObsFileWriter::Description d = small;
        d.extraLines << a.second;
        QVERIFY(ObsFileWriter::write(path(a.first), d));
    }
    {
        // The first line promises far more passport lines than the file holds.
        QVERIFY(ObsFileWriter::write(path("huge_line_count.pnt"), small));
        QFile f(path("huge_line_count.pnt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        bytes.replace(0, bytes.indexOf('\n'), "numpar 2000000000");
        QVERIFY(ObsFileWriter::writeRaw(path("huge_line_count.pnt"), bytes));
    }

    ObsFileWriter::Description garbage = small;
    garbage.extraLines << QString::fromLatin1("\x01\x02\x7f\xfe garbage \xff") << "no_blank_at_all"
                       << QString(200000, 'x') << QString("key") + QChar(0) + " after a NUL"
                       << "\t\t\t"
                       << "" << QString::fromUtf8("ключ значение");
    QVERIFY(ObsFileWriter::write(path("garbage_header.pnt"), garbage));

    ObsFileWriter::Description cut = big;
    cut.npoints = 40002;
    cut.sampleBytes = ObsFileWriter::bytesPerPoint(cut) * cut.npoints - 2;
    QVERIFY(ObsFileWriter::write(path("truncated.pnthr"), cut));

    QVERIFY(ObsFileWriter::writeRaw(path("random.pnt"), noise(100000)));

    // Broken samples in a short file for the table, and in one long enough for the forms' default
    // window (first point 58000, 16384 points, ray 7) with the 32 bands their channel sums need.
    const ObsFileWriter::ValueFn base = ObsFileWriter::whiteNoise(10.0f);
    const ObsFileWriter::ValueFn broken = [base](int p, int m, int r, int c) {
        if (p % 997 == 5) {
            return std::numeric_limits<float>::quiet_NaN();
        }
        if (p % 1009 == 7) {
            return (p + c) % 2 ? std::numeric_limits<float>::infinity()
                               : -std::numeric_limits<float>::infinity();
        }
        return base(p, m, r, c);
    };
    ObsFileWriter::Description nan = small;
    nan.value = broken;
    QVERIFY(ObsFileWriter::write(path("nan.pnt"), nan));
    nan.npoints = 75000;
    nan.nbands = 32;
    QVERIFY(ObsFileWriter::write(path("nan_long.pnthr"), nan));

    ObsFileWriter::Description crlf = big;
    crlf.crlf = true;
    QVERIFY(ObsFileWriter::write(path("crlf.pnthr"), crlf));

    window = new MainWindow;
    window->resize(1400, 900);
    window->show();
}

void TestDamagedFiles::cleanupTestCase() {
    delete window;
    flushDeletes();
    RecordFixture::dropCached();
}

void TestDamagedFiles::init() {
    desktop.reset(new RecordingDesktop);
}

void TestDamagedFiles::cleanup() {
    desktop.reset();
}

QString TestDamagedFiles::open(const QString& action, const QString& file) {
    const int before = desktop->boxes().size();
    desktop->fileAnswers << file;
    window->findChild<QAction*>(action)->trigger();
    flushDeletes();
    return boxesOf(*desktop, before);
}

QStringList TestDamagedFiles::workArea() const {
    QWidget* area = window->centralWidget();
    QLayout* layout = area->layout();
    QStringList got;
    for (int i = 0; layout && i < layout->count(); ++i) {
        QWidget* w = layout->itemAt(i)->widget();
        if (!w || w->isHidden() || w->parentWidget() != area) {
            return {"(broken)"};
        }
        got << w->metaObject()->className();
    }
    // Nothing but the laid-out view lives on in the work area.
    if (area->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size() != got.size()) {
        got << "(stray widgets)";
    }
    return got;
}

void TestDamagedFiles::checkView(const QStringList& expected) {
    QCOMPARE(workArea(), expected);
    QVERIFY(window->progressBar->isHidden());
    const QImage image = window->grab().toImage();
    QVERIFY(!image.isNull());
}

void TestDamagedFiles::menuEntryOnDamagedFile_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("readerBoxes"); // what the reading itself reports
    QTest::addColumn<int>("points");              // what the reading yields; 0: no data

    struct Input {
        const char* file;
        QStringList readerBoxes;
        int points;
    };
    const QList<Input> inputs = {
        {"empty.pnt", {}, 0},
        {"header_only.pnt", {damaged}, 0},
        {"negative_points.pnt", {}, 0},
        {"negative_channels.pnt", {}, 0},
        {"negative_rays.pnt", {}, 0},
        {"huge_points.pnt", {}, 0},
        {"huge_channels.pnt", {damaged}, 0},
        {"huge_modules.pnt", {damaged}, 0},
        {"huge_line_count.pnt", {damaged}, 0},
        {"garbage_header.pnt", {}, 1000},
        {"truncated.pnthr", {damaged}, 40001},
        {"random.pnt", {}, 0},
        {"short.pnt", {}, 1000},
        {"nan.pnt", {}, 1000},
        {"crlf.pnthr", {}, 40001},
    };
    for (const Entry& e : entries) {
        for (const Input& in : inputs) {
            QTest::addRow("%s %s", e.action, in.file)
                << e.action << e.kind << in.file << in.readerBoxes << in.points;
        }
    }
}

void TestDamagedFiles::menuEntryOnDamagedFile() {
    QFETCH(QString, action);
    QFETCH(QString, kind);
    QFETCH(QString, file);
    QFETCH(QStringList, readerBoxes);
    QFETCH(int, points);

    const QString damagedFile = path(file);
    const QStringList before = workArea();
    QStringList expected = readerBoxes;
    QStringList view = laidOut(kind);
    if (kind == "text") {
        // The rendering never touches the work area.
        view = before;
        if (points <= 1) {
            expected << readError;
        } else {
            expected
                << QString("warning|Message|npoints=%1 num=0 file=%2").arg(points).arg(textName(damagedFile));
        }
    } else if (points <= 0) {
        expected << (kind == "arrays" ? noArrays : withoutData);
        view.clear();
    } else if (needsLongFile(kind) && points <= 39999) {
        expected << shortData;
        view.clear();
    }
    QFile::remove(textName(damagedFile));
    QCOMPARE(open(action, damagedFile), expected.join("\n--\n"));
    checkView(view);
    QCOMPARE(QFileInfo(textName(damagedFile)).size() > 0, kind == "text" && points > 1);
    if (points > 0 && kind != "text") {
        // What the view shows comes with the passport as written: start (Moscow time moved to UTC),
        // sampling interval and bands.
        const Data record = Settings::getInstance()->getData();
        QCOMPARE(record.filePath, damagedFile);
        QCOMPARE(record.npoints, points);
        QCOMPARE(record.startDateTime, QDateTime(QDate(2020, 3, 1), QTime(22, 30), Qt::UTC));
        QCOMPARE(record.tresolution, 12.4928);
        QCOMPARE(record.fbands, ObsFileWriter::defaultBands(2));
    }

    // The application still works: a sound file opens with no box at all.
    const QString valid = needsLongFile(kind) ? path("valid.pnthr") : path("short.pnt");
    QStringList validBoxes;
    if (kind == "text") {
        validBoxes << QString("warning|Message|npoints=1000 num=0 file=%1").arg(textName(valid));
    }
    QCOMPARE(open(action, valid), validBoxes.join("\n--\n"));
    checkView(kind == "text" ? before : laidOut(kind));
}

void TestDamagedFiles::everyActionOnNanSamples_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("Fourier") << "actionOneFourier"
                             << "fourier"
                             << QStringList{"showNative",
                                            "sumPeriod",
                                            "sumChannelsDemoNoise",
                                            "sumChannelsAndAverage",
                                            "sumChannelsAndFourier",
                                            "sum4Dispersions",
                                            "sumAllDispersions",
                                            "sumMultiDispersions",
                                            "sumTimeDispersions"};
    QTest::newRow("FFA") << "actionOneFFA"
                         << "ffa"
                         << QStringList{"showNative", "sumChannelsDemoNoise", "sumChannelsAndAverage", "ffa"};
}

void TestDamagedFiles::everyActionOnNanSamples() {
    QFETCH(QString, action);
    QFETCH(QString, kind);
    QFETCH(QStringList, buttons);
    QCOMPARE(open(action, path("nan_long.pnthr")), QString());
    checkView(laidOut(kind));
    QWidget* form = window->centralWidget()->layout()->itemAt(0)->widget();
    for (const QString& name : buttons) {
        auto* button = form->findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        const int before = desktop->boxes().size();
        button->click();
        flushDeletes();
        QVERIFY2(button->isChecked(), qPrintable(name));
        QCOMPARE(boxesOf(*desktop, before), QString());
        checkView(laidOut(kind));
        // A result that the broken samples did not take over: every value drawn is a number.
        auto* plot = qobject_cast<PulsarGrafik*>(window->centralWidget()->layout()->itemAt(1)->widget());
        QVERIFY(!plot->hintShown);
        QVERIFY2(!plot->arrGrafiks.isEmpty() || !plot->arrGrafiksRaw.isEmpty(), qPrintable(name));
        int broken = 0;
        for (const QVector<float>& curve : plot->arrGrafiks) {
            broken +=
                int(std::count_if(curve.begin(), curve.end(), [](float v) { return !std::isfinite(v); }));
        }
        for (const float* curve : plot->arrGrafiksRaw) {
            broken +=
                int(std::count_if(curve, curve + plot->points, [](float v) { return !std::isfinite(v); }));
        }
        QVERIFY2(broken == 0, qPrintable(QString("%1: %2 values not finite").arg(name).arg(broken)));
        QVERIFY(plot->yMin < plot->yMax);
    }
}

QTEST_MAIN(TestDamagedFiles)
#include "tst_damagedfiles.moc"
