#include "app/mainwindow.h"
#include "core/calculationholder.h"
#include "core/settings.h"
#include "numerics/pulsarcalculate.h"
#include "single/ffaform.h"
#include "single/pulsarform.h"
#include "single/pulsargrafik.h"
#include "single/pulsargrafikinfo.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

// What both one-file forms do with a run that fails: the user is told the calculation's reason, and
// the plot and the panel keep the previous result.
class TestOneFileRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void failedRunTellsWhyAndKeepsTheResult_data();
    void failedRunTellsWhyAndKeepsTheResult();
    void failedPanelRunRestoresItsDispersions();

private:
    QTemporaryDir dir;
    QString goodFile;
    QString noTresFile;
};

namespace {
constexpr int filePoints = 45000;

QWidget* laidOut(MainWindow& window, int index) {
    QLayout* layout = window.centralWidget()->layout();
    return layout && index < layout->count() ? layout->itemAt(index)->widget() : nullptr;
}

template <typename T> T* input(MainWindow& window, const QString& name) {
    return window.centralWidget()->findChild<T*>(name);
}
} // namespace

void TestOneFileRun::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
    ObsFileWriter::Description d;
    d.npoints = filePoints;
    d.rays = 1;
    d.nbands = 32;
    d.value = ObsFileWriter::whiteNoise(1.0f);
    goodFile = dir.filePath("good.pnt");
    QVERIFY(ObsFileWriter::write(goodFile, d));
    d.tresolution = 0;
    noTresFile = dir.filePath("notres.pnt");
    QVERIFY(ObsFileWriter::write(noTresFile, d));
}

void TestOneFileRun::cleanup() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RecordFixture::dropCached();
}

void TestOneFileRun::failedRunTellsWhyAndKeepsTheResult_data() {
    QTest::addColumn<bool>("ffa");
    QTest::addColumn<bool>("noTres");
    QTest::addColumn<QString>("dispersion");
    QTest::addColumn<QString>("firstPoint");
    QTest::addColumn<QString>("reason"); // a regular expression for the whole text of the box
    const QString pastEnd = QString("The sum of 16384 points from first point 50000 runs past the end of "
                                    "the file \\(%1 points\\): choose an earlier first point\\.")
                                .arg(filePoints);
    const QString lags = QString("At dispersion 100000 channel \\d+ lags \\d+ points behind: the sum of "
                                 "16384 points from first point 0 runs past the end of the file \\(%1 "
                                 "points\\)\\.")
                             .arg(filePoints);
    const QString negative = "The dispersion must be 0 or more, not -50\\.";
    const QString noTres = "The passport gives no usable time resolution \\(tresolution 0 ms\\)\\.";
    for (bool ffa : {false, true}) {
        const char* form = ffa ? "FFA" : "Fourier";
        QTest::addRow("%s, DM 100000", form) << ffa << false << "100000"
                                             << "0" << lags;
        QTest::addRow("%s, DM -50", form) << ffa << false << "-50"
                                          << "0" << negative;
        QTest::addRow("%s, tresolution 0", form) << ffa << true << "26.2"
                                                 << "0" << noTres;
        QTest::addRow("%s, first point past the end", form) << ffa << false << "26.2"
                                                            << "50000" << pastEnd;
    }
}

void TestOneFileRun::failedRunTellsWhyAndKeepsTheResult() {
    QFETCH(bool, ffa);
    QFETCH(bool, noTres);
    QFETCH(QString, dispersion);
    QFETCH(QString, firstPoint);
    QFETCH(QString, reason);
    MainWindow window;
    RecordingDesktop desktop;
    const QString file = noTres ? noTresFile : goodFile;
    if (ffa) {
        new FfaForm(file, &window);
    } else {
        new PulsarForm(file, &window);
    }
    input<QSpinBox>(window, "ray")->setValue(1);
    input<QLineEdit>(window, "firstPoint")->setText("0");
    // A first run that works, even without a time resolution: the native series.
    input<QRadioButton>(window, "showNative")->click();
    QVERIFY(desktop.boxes().isEmpty());
    auto* plot = qobject_cast<PulsarGrafik*>(laidOut(window, 1));
    QPointer<QWidget> panel = laidOut(window, 2);
    QVERIFY(plot && panel);
    const QVector<QVector<float>> curves = plot->arrGrafiks;
    const int points = plot->points;
    QCOMPARE(plot->action, QString("showNative"));
    QCOMPARE(curves.size(), 2);

    input<QLineEdit>(window, "dispersion")->setText(dispersion);
    input<QLineEdit>(window, "firstPoint")->setText(firstPoint);
    input<QRadioButton>(window, ffa ? "ffa" : "sumChannelsAndFourier")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QList<RecordingDesktop::Call> boxes = desktop.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].kind, QString("warning"));
    QCOMPARE(boxes[0].title, QString("Error"));
    QVERIFY2(QRegularExpression("\\A" + reason + "\\z").match(boxes[0].text).hasMatch(),
             qPrintable(boxes[0].text));
    QVERIFY(panel);
    QCOMPARE(laidOut(window, 2), panel.data());
    QCOMPARE(laidOut(window, 1), static_cast<QWidget*>(plot));
    QVERIFY(!plot->hintShown);
    QCOMPARE(plot->action, QString("showNative"));
    QCOMPARE(plot->arrGrafiks, curves);
    QCOMPARE(plot->points, points);
    QCOMPARE(CalculationHolder::liveCount(), 1); // the failed run is freed, the shown one kept
    QVERIFY(Settings::getInstance()->getProgressBar()->isHidden());
}

// The four-dispersion panel re-runs its own calculation: one that fails is told, and the panel goes
// back to the dispersions the plot still shows.
void TestOneFileRun::failedPanelRunRestoresItsDispersions() {
    MainWindow window;
    RecordingDesktop desktop;
    new PulsarForm(goodFile, &window);
    input<QSpinBox>(window, "ray")->setValue(1);
    input<QLineEdit>(window, "firstPoint")->setText("0");
    input<QRadioButton>(window, "sum4Dispersions")->click();
    auto* plot = qobject_cast<PulsarGrafik*>(laidOut(window, 1));
    auto* panel = qobject_cast<PulsarGrafikInfo*>(laidOut(window, 2));
    QVERIFY(plot && panel && panel->editDispersion3);
    const QVector<QVector<float>> curves = plot->arrGrafiks;
    const QVector<double> shown = panel->calculate->dispersions;
    QCOMPARE(curves.size(), 4);

    panel->editDispersion3->setText("-7");
    panel->findChild<QPushButton*>("buttonDispersions")->click();
    const QList<RecordingDesktop::Call> boxes = desktop.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QString("Error"));
    QCOMPARE(boxes[0].text, QString("The dispersion must be 0 or more, not -7."));
    QCOMPARE(panel->calculate->dispersions, shown);
    QCOMPARE(panel->dispersions, shown);
    QCOMPARE(plot->arrGrafiks, curves);
    QCOMPARE(panel->calculate->arrGrafiks, curves);

    // A good one still runs.
    panel->editDispersion3->setText("50");
    panel->findChild<QPushButton*>("buttonDispersions")->click();
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(panel->calculate->dispersions[2], 50.0);
    QVERIFY(plot->arrGrafiks[2] != curves[2]);
}

QTEST_MAIN(TestOneFileRun)
#include "tst_onefilerun.moc"
