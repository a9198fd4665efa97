#include "app/mainwindow.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/ffaform.h"
#include "single/ffagrafikinfo.h"
#include "single/pulsargrafik.h"
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
    void ffaInfoIsForTheStandardSampling();

private:
    FfaForm* open(const QString& path);
    template <typename T> T* child(const QString& name) {
        T* w = form->findChild<T*>(name);
        if (!w) {
            qFatal("no child %s", qPrintable(name));
        }
        return w;
    }
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
    longFile = dir.filePath("long.pnt");
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
    QCOMPARE(child<QLabel>("fileName")->text(), QString("long.pnt"));
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

QTEST_MAIN(TestFfaForm)
#include "tst_ffaform.moc"
