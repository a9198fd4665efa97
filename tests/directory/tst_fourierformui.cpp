#include "support/widgettext.h"
#include "ui_fourierform.h"

#include <QtTest>

class TestFourierFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void texts_data();
    void texts();
    void spinBoxes_data();
    void spinBoxes();
    void limits();
    void groupsAreExclusive();

private:
    QWidget* form = nullptr;
    Ui::FourierForm* ui = nullptr;
};

namespace {
const QStringList graphTypes = {
    "fourier", "harmDispOne", "harmDispAverage",      "harmDispFirstPoint", "map",   "sum3sigma",
    "ffa",     "ffaSnrDisp",  "ffaSnrDispFirstPoint", "ffaSnrDispAverages", "ffaMap"};
} // namespace

void TestFourierFormUi::init() {
    form = new QWidget;
    ui = new Ui::FourierForm;
    ui->setupUi(form);
}

void TestFourierFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestFourierFormUi::startState() {
    for (const QString& name : graphTypes) {
        auto* b = form->findChild<QRadioButton*>(name);
        QVERIFY2(b, qPrintable(name));
        QVERIFY2(!b->isChecked(), qPrintable(name));
    }
    QVERIFY(ui->showCurve->isChecked());
    QVERIFY(ui->ffaNoiseMedian->isChecked() && !ui->ffaNoisePolinom->isChecked());
    QVERIFY(ui->groupBoxAdditional->isCheckable() && ui->groupBoxAdditional->isChecked());
    QVERIFY(ui->groupBoxAdditionalFFA->isCheckable() && !ui->groupBoxAdditionalFFA->isChecked());
    QVERIFY(ui->groupBoxFFA_info->isCheckable() && !ui->groupBoxFFA_info->isChecked());
    QVERIFY(!ui->groupBoxCache->isCheckable());
    for (QCheckBox* c : {ui->downToNull, ui->showSigma, ui->showMinusApprox}) {
        QVERIFY2(c->isChecked(), qPrintable(c->objectName()));
    }
    QVERIFY(!ui->showApproxFFA->isChecked() && !ui->ffaMapCreate->isChecked());
    for (QComboBox* c : form->findChildren<QComboBox*>()) {
        QVERIFY2(c->count() == 0, qPrintable(c->objectName()));
    }
    QCOMPARE(ui->comboBoxDispersion->currentIndex(), -1);
    for (QLineEdit* e : {ui->stopIncreasePeriod, ui->averagePeriodogram, ui->pulsarName, ui->cacheName}) {
        QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
    }
    QVERIFY(!ui->firstPointShift->keyboardTracking());
    QVERIFY(ui->sumAlfa->keyboardTracking());
    QCOMPARE(form->objectName(), QString("FourierForm"));
    QCOMPARE(form->windowTitle(), QString("Fourier Form"));
    QCOMPARE(form->maximumWidth(), 380);
    QCOMPARE(form->minimumSize(), QSize(350, 0));
    QCOMPARE(ui->groupBoxParameters->whatsThis(), QString("Fourier parameters"));
    QVERIFY(ui->groupBoxAdditionalFFA->maximumWidth() > 1000);
    QCOMPARE(ui->groupBox3sigma->maximumWidth(), 340);
}

void TestFourierFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows = {
        {"groupBoxParameters", "Main parameters"},
        {"moduleLabel", "Module"},
        {"moduleTable", "table"},
        {"timeLabel", "Time"},
        {"hourTable", ""},
        {"selectInTable", "select in table"},
        {"redrawTable", "redraw table"},
        {"label_2", "Dispersion"},
        {"firstPointShiftLabel", "Culmination shift"},
        {"firstPointShiftComment", "-4 = *"},
        {"averageCountLabelInfo", "-1 = *"},
        {"comboBoxWithNullLabel", "With nulls"},
        {"sumAlfaLabel", "Sum alfa 3 min"},
        {"label_9", " 0 = *"},
        {"comboBoxTresolutionLabel", "Tresolution, sec"},
        {"groupBoxYears", "Caches and days table"},
        {"checkBoxOthers", "all"},
        {"checkBoxMonthes", "monthes"},
        {"checkBox2020", "2020"},
        {"tableFromFile", "table from file"},
        {"checkAllYears", "Check all years"},
        {"groupBox3sigma", "Sum 3sigma harmonics"},
        {"checkBoxSumWithNulls", "sum all with nulls"},
        {"checkBoxSum2014", "2014"},
        {"clearTable", "Clear table"},
        {"groupBoxActionFourier", "Type of graph - fourier"},
        {"fourier", "Fourier - 1 dispersion"},
        {"harmDispFirstPoint", "Fourier snr/disp on fixed harm - all first points"},
        {"map", "Fourier disp/period - map  "},
        {"mapAll", "all"},
        {"sum3sigma", "Fourier sum"},
        {"sum3sigmaKoeff", "3"},
        {"label_3", "sigma/disp"},
        {"groupBoxActionFFA", "Type of graph - FFA"},
        {"ffa", "FFA snr/period "},
        {"ffaSnrDispAverages", "FFA snr/disp on fixed p - all averages"},
        {"ffaMap", "FFA disp/period - map      "},
        {"ffaMapCreate", "create new"},
        {"ffaMapLog", "    log X-axis on map"},
        {"groupBoxAdditional", "Additional"},
        {"harmonicNumber", "32"},
        {"period", "0"},
        {"showDispersion", "0"},
        {"sigmaLevelLabel", "Minimum SNR on map"},
        {"minSnr", "7"},
        {"showSigmaLevel", "6"},
        {"pointsNumberLabel", "Axis X min / max"},
        {"showMinX", "0"},
        {"showMaxX", "0"},
        {"circlePlusLabel", "Increase circle "},
        {"label_5", "Stop increase period"},
        {"averagePeriodogramLabel", "Average periodogram"},
        {"showCurve", "curve  "},
        {"showApprox", "approx "},
        {"showBoth", "both                                 "},
        {"writeToTestFiles", "Write to test files"},
        {"groupBoxAdditionalFFA", "Additional for FFA"},
        {"label_8", "down to null "},
        {"label_6", "average from "},
        {"nullProc", "70"},
        {"label_12", " % points"},
        {"sigmaProc", "60"},
        {"blankPoints", "30"},
        {"label_10", " line2 "},
        {"sigmaLevel2", "0"},
        {"showMinusApprox", "deduct approx"},
        {"LabelPolinom", "polinom "},
        {"ffaNoiseMedian", "median"},
        {"approxLen", "150"},
        {"label_19", " len points"},
        {"comboBoxPloshLabel", "           Plosh"},
        {"label_23", "Pulsar name"},
        {"forPrint", "for print"},
        {"buttonOk", "Ok"},
        {"buttonBack", "Back to map"},
        {"buttonSaveImage", "Save image"},
        {"buttonSaveText", "Save text"},
        {"label_24", "Graph width x height"},
        {"graphWidth", "500"},
        {"graphHeight", "500"},
        {"buttonChangeSize", "Change size"},
        {"groupBoxCache", "Create cache and map"},
        {"cacheNameLabel", "Dir name: cache_"},
        {"cacheButton", "Ok"},
        {"groupBoxFFA_info", "FFA info (periodogram size)"},
        {"info_period_min", "1"},
        {"info_period_max", "10.0"},
        {"info_bins_min", "39"},
        {"info_bins_max", "44"},
        {"info_ducy_max", "0.01"},
        {"info_wtsp", "1.5"},
        {"pushButtonFFA_info", "Show FFA info"},
        {"directoryName", "Directory name"},
    };
    WidgetText::addTextRows(rows);
}

void TestFourierFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestFourierFormUi::spinBoxes_data() {
    WidgetText::addSpinBoxColumns();
    QTest::newRow("module") << "module" << 0 << 6 << 0;
    QTest::newRow("ray") << "ray" << 0 << 8 << 0;
    QTest::newRow("firstPointShift") << "firstPointShift" << -4 << 3 << 0;
    QTest::newRow("averageCount") << "averageCount" << -1 << 6 << -1;
    QTest::newRow("sumAlfa") << "sumAlfa" << 0 << 16 << 0;
    QTest::newRow("circlePlus") << "circlePlus" << -7 << 7 << 0;
}

void TestFourierFormUi::spinBoxes() {
    WidgetText::checkSpinBoxRow(form);
    // Typed values stop at the maximum.
    QFETCH(QString, name);
    QFETCH(int, maximum);
    auto* s = form->findChild<QSpinBox*>(name);
    QVERIFY(s);
    s->setValue(maximum + 5);
    QCOMPARE(s->value(), maximum);
}

void TestFourierFormUi::limits() {
    QCOMPARE(ui->sum3sigmaKoeff->maxLength(), 5);
    QCOMPARE(ui->cacheName->maxLength(), 20);
    QCOMPARE(ui->harmonicNumber->maxLength(), 32767);
    QCOMPARE(ui->comboBoxDispersion->maxCount(), 200);
    QCOMPARE(ui->comboBoxHour->maxCount(), 25);
    QCOMPARE(ui->comboBoxMinSec->maxCount(), 41);
    for (int i = 0; i < 30; ++i) {
        ui->comboBoxHour->addItem(QString::number(i));
    }
    QCOMPARE(ui->comboBoxHour->count(), 25);
    QCOMPARE(ui->comboBoxDispersion->maxVisibleItems(), 15);
}

void TestFourierFormUi::groupsAreExclusive() {
    ui->fourier->setChecked(true);
    ui->map->setChecked(true);
    QVERIFY(!ui->fourier->isChecked());
    // The FFA group is separate from the Fourier group.
    ui->ffa->setChecked(true);
    QVERIFY(ui->map->isChecked());
    ui->ffaMap->setChecked(true);
    QVERIFY(!ui->ffa->isChecked() && ui->map->isChecked());
    ui->showBoth->setChecked(true);
    QVERIFY(!ui->showCurve->isChecked());
    ui->ffaNoisePolinom->setChecked(true);
    QVERIFY(!ui->ffaNoiseMedian->isChecked() && ui->showBoth->isChecked());
}

QTEST_MAIN(TestFourierFormUi)
#include "tst_fourierformui.moc"
