#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/calculationholder.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/pulsarform.h"
#include "single/pulsargrafik.h"
#include "single/pulsargrafikinfo.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The widgets laid out in the work area, in order.
QList<QWidget*> workArea(MainWindow& window) {
    QList<QWidget*> out;
    QLayout* layout = window.centralWidget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        out << layout->itemAt(i)->widget();
    }
    return out;
}

PulsarGrafik* plotOf(MainWindow& window) {
    const QList<QWidget*> w = workArea(window);
    return w.size() == 3 ? qobject_cast<PulsarGrafik*>(w[1]) : nullptr;
}

PulsarGrafikInfo* panelOf(MainWindow& window) {
    const QList<QWidget*> w = workArea(window);
    return w.size() == 3 ? qobject_cast<PulsarGrafikInfo*>(w[2]) : nullptr;
}

template <typename T> T* input(MainWindow& window, const char* name) {
    return window.centralWidget()->findChild<T*>(QString::fromLatin1(name));
}

void dropDeferred() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestPulsarForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void refusals_data();
    void refusals();
    void opensLongFile();
    void okBeforeActionAsksForOne();
    void showNativeTakesTheInputs();
    void fourDispersionsKeepTheirSecond();
    void reRunsFreeWhatTheyReplace();
    void clicksDuringARunChangeNothing();
    void nativeViewReportsTimes();
    void fourierListsThePulsarsHarmonics();
    void sweepSwitchesToOneDispersion();

private:
    QString writeFile(const QString& name, ObsFileWriter::Description d);
    QTemporaryDir dir;
    QString longFile;
    QString bandsFile;
    QString pulsarFile;
};

QString TestPulsarForm::writeFile(const QString& name, ObsFileWriter::Description d) {
    const QString path = dir.filePath(name);
    if (!ObsFileWriter::write(path, d)) {
        return QString();
    }
    return path;
}

void TestPulsarForm::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
    // Long enough for the default window (58000 + 16384 points); one channel keeps it small.
    ObsFileWriter::Description d;
    d.npoints = 80000;
    d.rays = 7;
    d.nbands = 1;
    d.value = [](int p, int, int r, int c) { return float(p % 97 + r + c); };
    longFile = writeFile("long.pnt", d);
    QVERIFY(!longFile.isEmpty());
    // All 32 bands of one ray, for the actions that sum channels.
    ObsFileWriter::Description b;
    b.npoints = 40000;
    b.rays = 1;
    b.nbands = 32;
    b.value = [](int p, int, int, int c) { return float((p * 7 + c * 13) % 31); };
    bandsFile = writeFile("bands.pnt", b);
    QVERIFY(!bandsFile.isEmpty());
    // A dispersed pulse train at the form's default dispersion, every 256 points: its harmonics fall on
    // spectrum entries 64k - 1 of a 16384-point window.
    ObsFileWriter::Description p = b;
    ObsFileWriter::PulseTrain train;
    train.period = 256 * p.tresolution / 1000.0;
    train.dm = double(26.2f);
    train.phase = 0.5;
    train.width = 2;
    train.amplitude = 10.0f;
    p.value = ObsFileWriter::pulseTrain(p, train, ObsFileWriter::whiteNoise(1.0f));
    pulsarFile = writeFile("pulsar.pnt", p);
    QVERIFY(!pulsarFile.isEmpty());
}

void TestPulsarForm::refusals_data() {
    QTest::addColumn<int>("npoints");
    QTest::addColumn<qint64>("sampleBytes");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("40000 open") << 40000 << qint64(-1) << QString();
    QTest::newRow("39999 short") << 39999 << qint64(-1)
                                 << QString("Bad file!\nFile with short data, must be long data");
    QTest::newRow("1 short") << 1 << qint64(-1)
                             << QString("Bad file!\nFile with short data, must be long data");
    QTest::newRow("no samples") << 50000 << qint64(0) << QString("Bad file!\nFile without data");
}

void TestPulsarForm::refusals() {
    QFETCH(int, npoints);
    QFETCH(qint64, sampleBytes);
    QFETCH(QString, refusal);
    ObsFileWriter::Description d;
    d.npoints = npoints;
    d.rays = 1;
    d.nbands = 1;
    d.sampleBytes = sampleBytes;
    const QString path = writeFile(QString("n%1_%2.pnt").arg(npoints).arg(sampleBytes), d);
    QVERIFY(!path.isEmpty());

    MainWindow window;
    RecordingDesktop desktop;
    QPointer<QWidget> previous = new QLabel("previous form");
    WorkArea::install({previous});
    auto* form = new PulsarForm(path, &window);
    dropDeferred();
    QVERIFY(previous.isNull()); // the previous form goes whatever the file holds

    const QList<RecordingDesktop::Call> warnings = desktop.callsOf("warning");
    if (refusal.isEmpty()) {
        QVERIFY(warnings.isEmpty());
        const QList<QWidget*> laidOut = workArea(window);
        QCOMPARE(laidOut.size(), 3);
        QCOMPARE(laidOut[0], static_cast<QWidget*>(form));
        QVERIFY(plotOf(window) && plotOf(window)->hintShown);
        QVERIFY(panelOf(window) && !panelOf(window)->calculate);
        QCOMPARE(window.centralWidget()->layout()->contentsMargins(), QMargins(10, 10, 10, 10));
        QCOMPARE(input<QLabel>(window, "fileName")->text(), QFileInfo(path).fileName());
    } else {
        QCOMPARE(warnings.size(), 1);
        QCOMPARE(warnings[0].title, QString("Error"));
        QCOMPARE(warnings[0].text, refusal);
        QVERIFY(workArea(window).isEmpty());
        QVERIFY(form->isHidden());
        QCOMPARE(form->parentWidget(), static_cast<QWidget*>(&window));
        QVERIFY(form->findChildren<PulsarGrafik*>().isEmpty());
        // The refused form connects nothing: clicking its leftovers starts nothing.
        form->findChild<QPushButton*>("pushButton")->click();
        QCOMPARE(desktop.callsOf("warning").size(), 1);
    }
    QVERIFY(Settings::getInstance()->getProgressBar()->isHidden());
}

void TestPulsarForm::opensLongFile() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(longFile, &window);
    QVERIFY(desktop.boxes().isEmpty());
    PulsarGrafik* plot = plotOf(window);
    QVERIFY(plot);
    QVERIFY(plot->hintShown);
    PulsarGrafikInfo* panel = panelOf(window);
    QVERIFY(panel);
    QCOMPARE(panel->grafik, plot);
    QCOMPARE(panel->maxPoints, 0);
    QVERIFY(panel->action.isEmpty());
    // The panel before any run has nothing to recalculate from; its point buttons change nothing.
    plot->points = 123;
    panel->findChild<QPushButton*>("buttonChangePoints")->click();
    panel->findChild<QPushButton*>("buttonResetPoints")->click();
    QCOMPARE(plot->points, 123);
}

void TestPulsarForm::okBeforeActionAsksForOne() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(longFile, &window);
    PulsarGrafikInfo* panel = panelOf(window);
    for (const char* name :
         {"pushButton", "noiseMedian", "isOrvUtc", "withNormalization", "showDeductNoise"}) {
        input<QAbstractButton>(window, name)->click();
    }
    const QList<RecordingDesktop::Call> warnings = desktop.callsOf("warning");
    QCOMPARE(warnings.size(), 5);
    for (const auto& w : warnings) {
        QCOMPARE(w.title, QString("Error"));
        QCOMPARE(w.text, QString("Check Action!"));
    }
    QCOMPARE(panelOf(window), panel);
    QVERIFY(plotOf(window)->hintShown);
    QCOMPARE(CalculationHolder::liveCount(), 0);
    // Spin boxes and text fields start nothing.
    input<QSpinBox>(window, "module")->setValue(2);
    input<QLineEdit>(window, "period")->setText("1.5");
    QCOMPARE(desktop.callsOf("warning").size(), 5);
}

void TestPulsarForm::showNativeTakesTheInputs() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new PulsarForm(longFile, &window);
    QVERIFY(!input<QLineEdit>(window, "points")->isEnabled());
    input<QRadioButton>(window, "showNative")->click();
    QVERIFY(desktop.callsOf("warning").isEmpty());

    PulsarGrafik* plot = plotOf(window);
    PulsarGrafikInfo* panel = panelOf(window);
    QVERIFY(plot && panel && panel->calculate);
    const PulsarCalculate* calc = panel->calculate;
    QCOMPARE(calc->action, QString("showNative"));
    QCOMPARE(calc->mode, QString("grafik"));
    QCOMPARE(calc->module, 0);
    QCOMPARE(calc->channel, 0);
    QCOMPARE(calc->ray, 6);
    QCOMPARE(calc->period, double(3.032f));
    QCOMPARE(calc->dispersion, 26.200000762939453);
    QCOMPARE(calc->count, 16384);
    QVERIFY(calc->isFirstPoint);
    QCOMPARE(calc->firstPoint, 58000);
    QCOMPARE(calc->firstPointDelta, 100);
    QVERIFY(!calc->isOrvUtc);
    QCOMPARE(calc->orvUtc, QString("12:10:52"));
    QCOMPARE(calc->orvUtcDelta, 15);
    QCOMPARE(calc->averageCount, 0);
    QVERIFY(!calc->averageWithNull);
    QCOMPARE(calc->harmonicNum, 66);
    QCOMPARE(calc->maxSigma, 5);
    QCOMPARE(calc->noiseMethod, QString("polinom5"));
    QVERIFY(!calc->showDeductNoise && !calc->withNormalization && !calc->checkDeleteStep);
    QCOMPARE(calc->dispersions, QVector<double>({0, 33, 66, 100}));
    QCOMPARE(calc->data.npoints, 80000);

    // What the plot and the panel were handed.
    QVERIFY(!plot->hintShown);
    QCOMPARE(plot->action, QString("showNative"));
    QCOMPARE(plot->firstPoint, calc->firstPoint);
    QCOMPARE(plot->labelsX2, calc->arrX1);
    QCOMPARE(plot->labelStep2, calc->stepX1);
    QCOMPARE(plot->visible, calc->grafikVisible);
    QCOMPARE(panel->action, QString("showNative"));
    QCOMPARE(panel->maxPoints, calc->count);
    QCOMPARE(panel->points, calc->count);
    QCOMPARE(panel->multiDispersion, 26.2f);
    QCOMPARE(panel->infoText, calc->infoText);

    // A second run replaces the panel only: exactly form, plot and panel stay, in this order.
    QPointer<PulsarGrafikInfo> first = panel;
    input<QRadioButton>(window, "sumPeriod")->click();
    QVERIFY(first.isNull());
    const QList<QWidget*> laidOut = workArea(window);
    QCOMPARE(laidOut.size(), 3);
    QCOMPARE(laidOut[0], static_cast<QWidget*>(form));
    QCOMPARE(laidOut[1], static_cast<QWidget*>(plot));
    QVERIFY(qobject_cast<PulsarGrafikInfo*>(laidOut[2]));
    QCOMPARE(panelOf(window)->calculate->action, QString("sumPeriod"));
    QCOMPARE(window.findChildren<PulsarGrafikInfo*>().size(), 1);
    QCOMPARE(window.findChildren<PulsarGrafik*>().size(), 1);
    QCOMPARE(CalculationHolder::liveCount(), 1);
}

void TestPulsarForm::fourDispersionsKeepTheirSecond() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(longFile, &window);
    input<QSpinBox>(window, "channel")->setValue(5);
    input<QRadioButton>(window, "sum4Dispersions")->click();
    const PulsarCalculate* calc = panelOf(window)->calculate;
    QCOMPARE(calc->channel, 0);
    QCOMPARE(calc->dispersions, QVector<double>({0, double(26.2f), 66, 100}));
    QCOMPARE(panelOf(window)->dispersions, calc->dispersions);

    // Zero, negative or not a number: entry 1 keeps what an earlier run put there.
    for (const char* text : {"-3", "0", "abc", "26,5"}) {
        input<QLineEdit>(window, "dispersion")->setText(text);
        input<QPushButton>(window, "pushButton")->click();
        QCOMPARE(panelOf(window)->calculate->dispersions, QVector<double>({0, double(26.2f), 66, 100}));
    }
    input<QLineEdit>(window, "dispersion")->setText("40.5");
    input<QPushButton>(window, "pushButton")->click();
    QCOMPARE(panelOf(window)->calculate->dispersions, QVector<double>({0, 40.5, 66, 100}));
    // Other actions leave the object's own dispersions alone.
    input<QRadioButton>(window, "sumChannelsAndFourier")->click();
    QCOMPARE(panelOf(window)->calculate->dispersions, QVector<double>({0, 33, 66, 100}));
    QCOMPARE(panelOf(window)->calculate->channel, 4);
}

void TestPulsarForm::reRunsFreeWhatTheyReplace() {
    QCOMPARE(CalculationHolder::liveCount(), 0);
    {
        MainWindow window;
        RecordingDesktop desktop;
        new PulsarForm(bandsFile, &window);
        input<QSpinBox>(window, "ray")->setValue(1);
        input<QLineEdit>(window, "firstPoint")->setText("0");
        input<QRadioButton>(window, "sumChannelsDemoNoise")->click();
        PulsarGrafik* plot = plotOf(window);
        QCOMPARE(plot->arrGrafiksRaw.size(), 3); // sum, baseline, difference: bare arrays the form owns
        QCOMPARE(plot->points, 16384);
        QCOMPARE(panelOf(window)->maxPoints, 16384);
        // The leak checker sees every array and object that a re-run fails to free.
        for (int run = 1; run < 50; ++run) {
            input<QPushButton>(window, "pushButton")->click();
            QCOMPARE(CalculationHolder::liveCount(), 1);
        }
        QCOMPARE(window.findChildren<PulsarGrafikInfo*>().size(), 1);
        QCOMPARE(plotOf(window)->arrGrafiksRaw.size(), 3);
        // The same for another form opened over this one.
        new PulsarForm(bandsFile, &window);
        dropDeferred();
        input<QSpinBox>(window, "ray")->setValue(1);
        input<QLineEdit>(window, "firstPoint")->setText("0");
        input<QRadioButton>(window, "sumChannelsDemoNoise")->click();
        dropDeferred();
        QCOMPARE(CalculationHolder::liveCount(), 1);
        QVERIFY(desktop.callsOf("warning").isEmpty());
    }
    QCOMPARE(CalculationHolder::liveCount(), 0);
}

void TestPulsarForm::clicksDuringARunChangeNothing() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(longFile, &window);
    input<QRadioButton>(window, "showNative")->click();
    PulsarGrafikInfo* panel = panelOf(window);
    {
        BusyGuard running;
        input<QPushButton>(window, "pushButton")->click();
        input<QRadioButton>(window, "sumPeriod")->click();
        panel->findChild<QPushButton*>("buttonResetPoints")->click();
    }
    QCOMPARE(panelOf(window), panel);
    QCOMPARE(panel->calculate->action, QString("showNative"));
    QVERIFY(desktop.boxes().isEmpty());
    // Once the run is over the form answers again.
    input<QPushButton>(window, "pushButton")->click();
    QVERIFY(panelOf(window) != panel);
    QCOMPARE(panelOf(window)->calculate->action, QString("sumPeriod"));
}

void TestPulsarForm::nativeViewReportsTimes() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(longFile, &window);
    input<QRadioButton>(window, "showNative")->click();
    PulsarGrafik* plot = plotOf(window);
    PulsarGrafikInfo* panel = panelOf(window);
    QCOMPARE(plot->labelStep2, 2);
    QCOMPARE(plot->labelsX2.size(), 16384);
    QVERIFY(plot->labelsX1.isEmpty());
    window.resize(1400, 900);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    plot->grab();
    QVERIFY(plot->canvasSize.width() > 400);
    // 100 pixels into the plot area: the point there and its clock time.
    const int idx = int(100.0 * 16384 / (plot->canvasSize.width() - 90));
    QMouseEvent move(QEvent::MouseMove, QPoint(160, 250), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    const QString text = panel->labelCoords->text();
    QVERIFY2(text.startsWith(QString("X: %1   Y: ").arg(idx)), qPrintable(text));
    QVERIFY2(text.endsWith("\ntime: " + plot->labelsX2[idx] + "\n\nshowNative"), qPrintable(text));
    QVERIFY(plot->labelsX2[idx].contains(':'));
}

void TestPulsarForm::fourierListsThePulsarsHarmonics() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(pulsarFile, &window);
    input<QSpinBox>(window, "ray")->setValue(1);
    input<QLineEdit>(window, "firstPoint")->setText("1000");
    input<QRadioButton>(window, "sumChannelsAndFourier")->click();
    PulsarGrafik* plot = plotOf(window);
    PulsarGrafikInfo* panel = panelOf(window);
    QVERIFY(panel->calculate);
    QCOMPARE(plot->arrGrafiks.size(), 3);
    QCOMPARE(plot->points, 8192);
    QCOMPARE(panel->maxPoints, 8192);
    QVERIFY(panel->spinMaxSigma);

    // The report lists the first 15 harmonics above 5 sigma: those of the pulse train and nothing else.
    auto listed = [&](int sigmas) {
        const QString report = panel->labelInfo->text();
        const QString title = QString("Harmonics >= %1 sigma:\n\n").arg(sigmas);
        const int from = report.indexOf(title);
        const int to = report.indexOf("\nFirst harmonic:");
        QList<int> harmonics;
        if (from < 0 || to < from) {
            return harmonics;
        }
        for (const QString& line : report.mid(from + title.size(), to - from - title.size()).split('\n')) {
            if (!line.isEmpty()) {
                harmonics << line.section(':', 0, 0).toInt();
            }
        }
        return harmonics;
    };
    QList<int> expected;
    for (int k = 1; k <= 15; ++k) {
        expected << 64 * k - 1;
    }
    QCOMPARE(listed(5), expected);
    const QVector<float>& spectrum = plot->arrGrafiks[0];
    QVERIFY(spectrum[63] > plot->arrGrafiks[2][0]);
    QVERIFY(spectrum[64] < plot->arrGrafiks[1][0]);

    // "Max sigma" 3 re-runs the same object with the 3-sigma line and keeps the points chosen.
    PulsarCalculate* calc = panel->calculate;
    panel->spinPoints->setValue(1000);
    panel->spinMaxSigma->setValue(3);
    panel->findChild<QPushButton*>("buttonMaxSigma")->click();
    QCOMPARE(panel->calculate, calc);
    QCOMPARE(calc->maxSigma, 3);
    QVERIFY(panel->labelInfo->text().contains("\n3 sigma = "));
    QCOMPARE(listed(3), expected);
    QCOMPARE(plot->arrGrafiks[2][0], 3 * plot->arrGrafiks[1][0]);
    QCOMPARE(plot->points, 1000);

    // "Change points" and "Reset points" change only what the plot shows.
    const QString report = panel->labelInfo->text();
    panel->spinPoints->setValue(2000);
    panel->findChild<QPushButton*>("buttonChangePoints")->click();
    QCOMPARE(plot->points, 2000);
    panel->findChild<QPushButton*>("buttonResetPoints")->click();
    QCOMPARE(plot->points, 8192);
    QCOMPARE(panel->spinPoints->value(), 8192);
    QCOMPARE(panel->labelInfo->text(), report);
    QVERIFY(desktop.boxes().isEmpty());
}

void TestPulsarForm::sweepSwitchesToOneDispersion() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(pulsarFile, &window);
    input<QSpinBox>(window, "ray")->setValue(1);
    input<QLineEdit>(window, "firstPoint")->setText("1000");
    input<QLineEdit>(window, "harmonicNum")->setText("63");
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    bar->setValue(0);
    input<QRadioButton>(window, "sumMultiDispersions")->click();
    QCOMPARE(bar->value(), 100); // the sweep drove the status-bar progress bar
    QVERIFY(bar->isHidden());
    PulsarGrafik* plot = plotOf(window);
    PulsarGrafikInfo* panel = panelOf(window);
    QCOMPARE(plot->arrGrafiks.size(), 7);
    QCOMPARE(plot->points, 100);
    QCOMPARE(panel->editMultiDispersion->text(), QString("26.2"));
    // The fit of the first averaging peaks near the pulse train's dispersion.
    QVERIFY(!plot->markers.isEmpty());
    QVERIFY2(std::abs(plot->markers[0] - 26) <= 3, qPrintable(QString::number(plot->markers[0])));

    panel->findChild<QPushButton*>("buttonShowResult")->click();
    QCOMPARE(plot->arrGrafiks.size(), 8);
    QCOMPARE(plot->points, 7);
    QCOMPARE(plot->visible.count(true), 1);
    QVERIFY(panel->labelInfo->text().startsWith(
        "Axis X: averages (see colors)\nAxis Y: harmonic 63 val on disp=26.2"));
    panel->findChild<QPushButton*>("buttonReturnMulti")->click();
    QCOMPARE(plot->arrGrafiks.size(), 7);
    QCOMPARE(plot->points, 100);
    QCOMPARE(plot->visible, QVector<bool>(7, true));
    QCOMPARE(panel->labelInfo->text(), panel->infoText);
}

QTEST_MAIN(TestPulsarForm)
#include "tst_pulsarform.moc"
