#include "app/mainwindow.h"
#include "core/calculationholder.h"
#include "core/rectwidget.h"
#include "core/settings.h"
#include "core/tables.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/ffaform.h"
#include "single/ffagrafikinfo.h"
#include "single/pulsargrafik.h"
#include "support/findchild.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>
#include <memory>

namespace {

// Deterministic noise in [-1, 1) for every sample.
float hashNoise(int p, int m, int r, int c) {
    uint32_t h = uint32_t(p) * 2654435761u ^ uint32_t(c * 40503 + r * 977 + m * 31);
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return float(h & 0xFFFF) / 32768.0f - 1.0f;
}

QList<QWidget*> workArea() {
    QList<QWidget*> widgets;
    QLayout* layout = WorkArea::widget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        widgets << layout->itemAt(i)->widget();
    }
    return widgets;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestFfaForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void opensOrRefuses_data();
    void opensOrRefuses();
    void startState();
    void runReplacesOnlyThePanel();
    void failedRunKeepsPlotAndPanel();
    void noActionChecked();
    void whatRecalculates();
    void eachActionRuns_data();
    void eachActionRuns();
    void ffaInfoIsForTheStandardSampling();
    void createFfaWithDefaults();
    void perWidthLegendSwitchesCurves();
    void periodicPulseIsAmongStrongPeriods();
    void ffaErrorKeepsPlotAndPanel();

private:
    FfaForm* open(const QString& path);
    template <typename T> T* child(const QString& name) { return findChildOrStop<T>(form, name); }
    FfaGrafikInfo* panel() const { return qobject_cast<FfaGrafikInfo*>(workArea().value(2)); }
    PulsarGrafik* plot() const { return qobject_cast<PulsarGrafik*>(workArea().value(1)); }

    QTemporaryDir dir;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    FfaForm* form = nullptr;
    QString longFile;
};

void TestFfaForm::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
    // The per-width FFA view writes its array file into the working directory.
    QDir::setCurrent(dir.path());
    window = new MainWindow;

    ObsFileWriter::Description small;
    small.rays = 1;
    small.value = [](int p, int, int, int c) { return float((p + c) % 7); };
    for (int n : {39999, 40000}) {
        small.npoints = n;
        QVERIFY(ObsFileWriter::write(dir.filePath(QString("p%1.pnt").arg(n)), small));
    }
    small.npoints = 50000;
    small.sampleBytes = 0;
    QVERIFY(ObsFileWriter::write(dir.filePath("nodata.pnt"), small));

    // Long enough for the default window (first point 58000, 16384 points) and the default ray 7.
    ObsFileWriter::Description d;
    d.npoints = 75000;
    d.rays = 7;
    ObsFileWriter::PulseTrain train;
    train.period = 5.0;
    train.dm = 26.2;
    train.phase = 0.7;
    train.width = 3;
    train.amplitude = 1.0f;
    d.value = ObsFileWriter::pulseTrain(d, train, hashNoise);
    // The hour in the name (01) has a calibration step window, 24100 to 25500.
    longFile = dir.filePath("010121_01_N1_00.pnthr");
    QVERIFY(ObsFileWriter::write(longFile, d));
}

void TestFfaForm::cleanupTestCase() {
    delete window;
    flushDeletes();
}

void TestFfaForm::init() {
    desktop.reset(new RecordingDesktop);
    // Something laid out before, as the previous form would be.
    WorkArea::install({new QLabel("previous")});
}

void TestFfaForm::cleanup() {
    WorkArea::clear();
    flushDeletes();
    // Whatever a form ran goes with its plot and panel.
    QCOMPARE(CalculationHolder::liveCount(), 0);
    form = nullptr;
    desktop.reset();
}

FfaForm* TestFfaForm::open(const QString& path) {
    form = new FfaForm(path, window);
    return form;
}

void TestFfaForm::opensOrRefuses_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("39999 points") << "p39999.pnt"
                                  << "Bad file!\nFile with short data, must be long data";
    QTest::newRow("40000 points") << "p40000.pnt"
                                  << "";
    QTest::newRow("no samples") << "nodata.pnt"
                                << "Bad file!\nFile without data";
    QTest::newRow("missing file") << "absent.pnt"
                                  << "Bad file!\nFile without data";
}

void TestFfaForm::opensOrRefuses() {
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    QPointer<QWidget> previous = workArea().value(0);
    QVERIFY(previous);
    open(dir.filePath(file));
    flushDeletes();
    QVERIFY(!previous);
    const QList<RecordingDesktop::Call> boxes = desktop->boxes();
    if (refusal.isEmpty()) {
        QVERIFY(boxes.isEmpty());
        QCOMPARE(workArea().size(), 3);
        QCOMPARE(workArea().value(0), static_cast<QWidget*>(form));
        return;
    }
    // The reader may have warned about a damaged file first; the refusal comes last.
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes.last().kind, QString("warning"));
    QCOMPARE(boxes.last().title, QString("Error"));
    QCOMPARE(boxes.last().text, refusal);
    QVERIFY(workArea().isEmpty());
    QVERIFY(form->isHidden());
    QCOMPARE(form->parentWidget(), static_cast<QWidget*>(window));
    // The refused form starts nothing.
    QMetaObject::invokeMethod(form, "redraw");
    QMetaObject::invokeMethod(form, "showFfaInfo");
    QCOMPARE(desktop->boxes().size(), boxes.size());
}

void TestFfaForm::startState() {
    open(longFile);
    QCOMPARE(workArea().size(), 3);
    QVERIFY(plot());
    QVERIFY(plot()->hintShown);
    QVERIFY(panel());
    QVERIFY(panel()->checkBoxes.isEmpty());
    QCOMPARE(panel()->calculate, static_cast<PulsarCalculate*>(nullptr));
    QCOMPARE(child<QLabel>("fileName")->text(), QString("010121_01_N1_00.pnthr"));
    for (const char* name :
         {"label_deredden", "label_rmed_width", "label_rmed_minpts", "deredden", "rmed_width", "rmed_minpts",
          "normalised", "harmonicNum", "harmonicNumberLabel"}) {
        QVERIFY2(child<QWidget>(name)->isHidden(), name);
    }
    QVERIFY(!child<QWidget>("ffa")->isHidden());
}

void TestFfaForm::runReplacesOnlyThePanel() {
    open(longFile);
    PulsarGrafik* grafik = plot();
    QPointer<FfaGrafikInfo> first = panel();
    child<QSpinBox>("ray")->setValue(3);
    child<QRadioButton>("sumChannelsDemoNoise")->click();
    QCOMPARE(desktop->boxes().size(), 0);
    flushDeletes();
    QVERIFY(!first);
    QCOMPARE(workArea().size(), 3);
    QCOMPARE(workArea().value(0), static_cast<QWidget*>(form));
    QCOMPARE(plot(), grafik);
    QVERIFY(!grafik->hintShown);
    QPointer<FfaGrafikInfo> second = panel();
    QVERIFY(second && second->calculate);
    PulsarCalculate* calc = second->calculate;
    QCOMPARE(calc->action, QString("sumChannelsDemoNoise"));
    QCOMPARE(calc->ray, 2);
    QCOMPARE(grafik->arrGrafiksRaw, calc->rawGrafiks);
    QCOMPARE(grafik->visible, calc->grafikVisible);
    QCOMPARE(grafik->points, calc->count);
    QCOMPARE(second->grafikNames, calc->grafikNames);
    QCOMPARE(second->checkBoxes.size(), calc->grafikNames.size());
    QCOMPARE(second->labelInfo->text(), calc->infoText);
    QCOMPARE(second->maxPoints, calc->count);

    // Every run makes its own calculation object and a fresh panel; the old ones go.
    child<QPushButton>("pushButtonOk")->click();
    flushDeletes();
    QVERIFY(!second);
    QCOMPARE(workArea().size(), 3);
    QVERIFY(panel()->calculate);
    QCOMPARE(plot()->arrGrafiksRaw, panel()->calculate->rawGrafiks);
    // Only the run on show is kept.
    QCOMPARE(CalculationHolder::liveCount(), 1);
}

void TestFfaForm::failedRunKeepsPlotAndPanel() {
    open(longFile);
    child<QSpinBox>("ray")->setValue(2);
    child<QRadioButton>("sumChannelsDemoNoise")->click();
    QPointer<FfaGrafikInfo> shown = panel();
    QVERIFY(shown && shown->calculate);
    const QVector<float*> curves = plot()->arrGrafiksRaw;
    const float first = curves[0][0];
    // The file has one module only: the sum fails.
    child<QSpinBox>("module")->setValue(3);
    child<QPushButton>("pushButtonOk")->click();
    flushDeletes();
    QVERIFY(shown);
    QCOMPARE(panel(), shown.data());
    QCOMPARE(plot()->arrGrafiksRaw, curves);
    QCOMPARE(curves[0][0], first);
    QCOMPARE(CalculationHolder::liveCount(), 1);
    QVERIFY(Settings::getInstance()->getProgressBar()->isHidden());
}

void TestFfaForm::noActionChecked() {
    open(longFile);
    QPointer<FfaGrafikInfo> shown = panel();
    auto* ffa = child<QRadioButton>("ffa");
    ffa->setAutoExclusive(false);
    ffa->setChecked(false);
    child<QPushButton>("pushButtonOk")->click();
    const QList<RecordingDesktop::Call> boxes = desktop->boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QString("Error"));
    QCOMPARE(boxes[0].text, QString("Check Action!"));
    flushDeletes();
    QCOMPARE(panel(), shown.data());
    QVERIFY(plot()->hintShown);
}

void TestFfaForm::whatRecalculates() {
    open(longFile);
    child<QSpinBox>("ray")->setValue(2);
    child<QRadioButton>("sumChannelsDemoNoise")->click();
    QPointer<FfaGrafikInfo> shown = panel();
    // Spin boxes, text fields and the unconnected check boxes start nothing.
    child<QSpinBox>("averageCount")->setValue(2);
    QTest::keyClicks(child<QLineEdit>("dispersion"), "5");
    child<QCheckBox>("averageWithNull")->click();
    child<QCheckBox>("checkDeleteStep")->click();
    child<QCheckBox>("showSigma")->click();
    flushDeletes();
    QCOMPARE(panel(), shown.data());
    // A noise button does.
    child<QRadioButton>("noiseMedian")->click();
    flushDeletes();
    QVERIFY(!shown);
    QCOMPARE(panel()->calculate->noiseMethod, QString("median"));
    QCOMPARE(panel()->calculate->dispersion, double(26.25f));
}

void TestFfaForm::eachActionRuns_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("action");
    QTest::newRow("native") << "showNative"
                            << "showNative";
    QTest::newRow("baseline") << "sumChannelsDemoNoise"
                              << "sumChannelsDemoNoise";
    QTest::newRow("averaged sum") << "sumChannelsAndAverage"
                                  << "sumChannelsAndAverage";
    QTest::newRow("ffa") << "ffa"
                         << "createFFA";
}

void TestFfaForm::eachActionRuns() {
    QFETCH(QString, button);
    QFETCH(QString, action);
    open(longFile);
    child<QRadioButton>("noisePolinom5")->setChecked(true);
    if (button == "ffa") {
        child<QRadioButton>("showNative")->setChecked(true);
    }
    child<QRadioButton>(button)->click();
    flushDeletes();
    QCOMPARE(desktop->boxes().size(), 0);
    PulsarCalculate* calc = panel()->calculate;
    QVERIFY(calc);
    QCOMPARE(calc->action, action);
    QCOMPARE(calc->noiseMethod, QString("polinom5"));
    QVERIFY(!plot()->hintShown);
    // The averaged sum names no curve, so its legend is empty.
    QCOMPARE(panel()->checkBoxes.size(), calc->grafikNames.size());
    QVERIFY(!plot()->visible.isEmpty());
    QCOMPARE(plot()->visible.size(), qMax(calc->arrGrafiks.size(), calc->rawGrafiks.size()));
    QVERIFY(plot()->points > 0);

    // The mouse over the plot: point, value, the label texts the action has, and the action.
    // The plot maps the mouse once it has been painted at a size of its own.
    plot()->setFixedSize(800, 400);
    plot()->grab();
    QMouseEvent ev(QEvent::MouseMove, QPoint(300, 200), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot(), &ev);
    const QString coords = panel()->labelCoords->text();
    QVERIFY2(coords.startsWith("num: ") && coords.endsWith("\n\n" + action), qPrintable(coords));
    if (action == "showNative") {
        QVERIFY2(QRegularExpression("\ntime: \\d\\d:\\d\\d:\\d\\d").match(coords).hasMatch(),
                 qPrintable(coords));
    }
}

void TestFfaForm::ffaInfoIsForTheStandardSampling() {
    // A file sampled at 3.072 ms still gets the table of the standard 12.4928 ms sampling.
    ObsFileWriter::Description d;
    d.npoints = 40001;
    d.rays = 1;
    d.tresolution = 3.072;
    const QString path = dir.filePath("fast.pnt");
    QVERIFY(ObsFileWriter::write(path, d));
    open(path);
    QPointer<FfaGrafikInfo> shown = panel();
    child<QPushButton>("pushButtonFFA_info")->click();
    const QList<RecordingDesktop::Call> boxes = desktop->boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].kind, QString("warning"));
    QCOMPARE(boxes[0].title, QString("Info"));
    QCOMPARE(boxes[0].text, PulsarCalculate::getFfaInfo(1, 10.0, 39, 44, 0.01, 1.5, 0.0124928));
    // Bad sizes come back as the text of the first error.
    child<QLineEdit>("info_bins_min")->setText("1");
    child<QPushButton>("pushButtonFFA_info")->click();
    QCOMPARE(desktop->boxes().size(), 2);
    QCOMPARE(desktop->boxes()[1].text, PulsarCalculate::getFfaInfo(1, 10.0, 1, 44, 0.01, 1.5, 0.0124928));
    flushDeletes();
    QCOMPARE(panel(), shown.data());
    QVERIFY(plot()->hintShown);
}

void TestFfaForm::createFfaWithDefaults() {
    open(longFile);
    Data record = Settings::getInstance()->getData();
    const float* series = record.samples[0][5][6];
    QVERIFY(series[25000] != series[24099]);
    child<QPushButton>("pushButtonFFA")->click();
    flushDeletes();
    PulsarCalculate* calc = panel()->calculate;
    QVERIFY(calc);
    QCOMPARE(calc->action, QString("createFFA"));
    QCOMPARE(calc->noiseMethod, QString("without"));
    QVERIFY(calc->withNormalization);
    QVERIFY(calc->isFirstPoint);
    QVERIFY(!calc->isOrvUtc);
    QCOMPARE(calc->orvUtc, QString("12:10:52"));
    QCOMPARE(calc->averageCount, 0);
    QVERIFY(!calc->averageWithNull);
    QCOMPARE(calc->module, 0);
    QCOMPARE(calc->channel, 0);
    QCOMPARE(calc->ray, 6);
    QCOMPARE(calc->dispersion, double(26.2f));
    QVERIFY(calc->dispersion != 26.2);
    QCOMPARE(calc->firstPoint, 58000);
    QCOMPARE(calc->period_min, 3.0);
    QCOMPARE(calc->period_max, 10.0);
    QCOMPARE(calc->fpmin, 1);
    QCOMPARE(calc->bins_min, 220);
    QCOMPARE(calc->bins_max, 240);
    QCOMPARE(calc->ducy_max, 0.02);
    QCOMPARE(calc->wtsp, 1.5);
    QVERIFY(!calc->show_as_is);
    QVERIFY(calc->showSigma);
    QVERIFY(calc->downToNull);
    QCOMPARE(calc->nullProc, 70);
    QCOMPARE(calc->sigmaProc, 50);
    QCOMPARE(calc->sigmaLevel1, 1);
    QCOMPARE(calc->sigmaLevel2, 5);
    QCOMPARE(calc->messageParent, WorkArea::widget());
    QCOMPARE(calc->data.samples, record.samples);
    // Step removal was asked for: the calibration step of the shared record is flat now.
    QCOMPARE(series[25000], series[24099]);
    // The run's curves and texts reached plot and panel.
    QCOMPARE(plot()->action, QString("createFFA"));
    QCOMPARE(plot()->arrGrafiks, calc->arrGrafiks);
    QCOMPARE(plot()->labelsX2, calc->arrX1);
    QCOMPARE(plot()->labelsX3, calc->arrX2);
    QCOMPARE(panel()->labelInfo->text(), calc->infoText);
    QCOMPARE(desktop->boxes().size(), 0);
}

void TestFfaForm::perWidthLegendSwitchesCurves() {
    open(longFile);
    // bins_min 220 and ducy_max 0.02 give the widths 1, 2, 3 and 4; without sigma lines no other curve.
    child<QCheckBox>("showSigma")->click();
    child<QPushButton>("pushButtonFFA")->click();
    flushDeletes();
    FfaGrafikInfo* info = panel();
    PulsarGrafik* grafik = plot();
    QCOMPARE(info->grafikNames, (QVector<QString>{"width=1", "width=2", "width=3", "width=4"}));
    QCOMPARE(info->checkBoxes.size(), 4);
    const QList<RectWidget*> swatches = info->findChildren<RectWidget*>();
    QCOMPARE(swatches.size(), 4);
    for (int i = 0; i < 4; ++i) {
        swatches[i]->resize(20, 10);
        QCOMPARE(swatches[i]->grab().toImage().pixel(10, 5), QColor(graphColors[i]).rgb());
    }
    QCOMPARE(grafik->arrGrafiks.size(), 4);
    const int np = grafik->arrGrafiks[0].size();
    QCOMPARE(grafik->points, np);
    QCOMPARE(grafik->labelsX2.size(), np);

    auto rangeWithout = [&](int hidden) {
        float lo = 1e30f, hi = -1e30f;
        for (int c = 0; c < 4; ++c) {
            if (c == hidden) {
                continue;
            }
            for (float v : grafik->arrGrafiks[c]) {
                lo = qMin(lo, v);
                hi = qMax(hi, v);
            }
        }
        return qMakePair(lo, hi);
    };
    QCOMPARE(qMakePair(grafik->yMin, grafik->yMax), rangeWithout(-1));
    info->checkBoxes[2]->click();
    QCOMPARE(grafik->visible, (QVector<bool>{true, true, false, true}));
    QCOMPARE(qMakePair(grafik->yMin, grafik->yMax), rangeWithout(2));

    // The mouse over the plot reports the trial period and fold bins of the point.
    grafik->setFixedSize(600, 400);
    grafik->grab();
    QMouseEvent ev(QEvent::MouseMove, QPoint(60, 200), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grafik, &ev);
    QVERIFY2(info->labelCoords->text().startsWith(QString("num: 0    y: ")),
             qPrintable(info->labelCoords->text()));
    QVERIFY(info->labelCoords->text().contains(QString("\nperiod: %1\n").arg(grafik->labelsX2[0])));
    QVERIFY(info->labelCoords->text().endsWith("\n\ncreateFFA"));
}

void TestFfaForm::periodicPulseIsAmongStrongPeriods() {
    open(longFile);
    // The list holds the first 16 trials above the line in trial order; around the 5 s train the
    // strongest ones are the train's own period.
    child<QLineEdit>("period_min")->setText("4.9");
    child<QLineEdit>("period_max")->setText("5.1");
    child<QPushButton>("pushButtonFFA")->click();
    flushDeletes();
    const QString report = panel()->labelInfo->text();
    const int list = report.indexOf("Harmonics > 5*sigma=");
    QVERIFY2(list >= 0, qPrintable(report));
    const QStringList lines = report.mid(list).split('\n', Qt::SkipEmptyParts).mid(1);
    QVERIFY2(!lines.isEmpty(), qPrintable(report));
    bool found = false;
    for (const QString& line : lines) {
        const double period = line.section(':', 0, 0).toDouble();
        found |= qAbs(period - 5.0) < 0.02;
    }
    QVERIFY2(found, qPrintable(report));
}

void TestFfaForm::ffaErrorKeepsPlotAndPanel() {
    open(longFile);
    child<QPushButton>("pushButtonFFA")->click();
    flushDeletes();
    QPointer<FfaGrafikInfo> shown = panel();
    const QVector<QVector<float>> curves = plot()->arrGrafiks;
    child<QLineEdit>("period_min")->setText("0");
    child<QPushButton>("pushButtonFFA")->click();
    flushDeletes();
    const QList<RecordingDesktop::Call> boxes = desktop->boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QString("Critical error"));
    QVERIFY(shown);
    QCOMPARE(panel(), shown.data());
    QCOMPARE(plot()->arrGrafiks, curves);
    QVERIFY(Settings::getInstance()->getProgressBar()->isHidden());
}

QTEST_MAIN(TestFfaForm)
#include "tst_ffaform.moc"
