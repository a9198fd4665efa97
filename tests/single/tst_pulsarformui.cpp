#include "support/widgettext.h"
#include "ui_pulsarform.h"

#include <QtTest>

class TestPulsarFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void texts_data();
    void texts();
    void spinBoxes_data();
    void spinBoxes();
    void formGeometry();
    void groupsAreExclusive();

private:
    QWidget* form = nullptr;
    Ui::PulsarForm* ui = nullptr;
};

void TestPulsarFormUi::init() {
    form = new QWidget;
    ui = new Ui::PulsarForm;
    ui->setupUi(form);
}

void TestPulsarFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestPulsarFormUi::startState() {
    const QStringList actions = {"showNative",
                                 "sumPeriod",
                                 "sumChannelsDemoNoise",
                                 "sumChannelsAndAverage",
                                 "sumChannelsAndFourier",
                                 "sum4Dispersions",
                                 "sumAllDispersions",
                                 "sumMultiDispersions",
                                 "sumTimeDispersions"};
    for (const QString& name : actions) {
        auto* b = form->findChild<QRadioButton*>(name);
        QVERIFY2(b, qPrintable(name));
        QVERIFY2(!b->isChecked(), qPrintable(name));
    }
    QVERIFY(ui->isFirstPoint->isChecked());
    QVERIFY(!ui->isOrvUtc->isChecked());
    QVERIFY(ui->noisePolinom5->isChecked());
    QVERIFY(!ui->noiseMedian->isChecked() && !ui->noiseBack->isChecked() && !ui->noiseWithout->isChecked());
    for (QCheckBox* c :
         {ui->showDeductNoise, ui->checkDeleteStep, ui->averageWithNull, ui->withNormalization}) {
        QVERIFY2(!c->isChecked(), qPrintable(c->objectName()));
    }
    QVERIFY(!ui->points->isEnabled());
    QCOMPARE(ui->points->text(), QString("16384"));
    QCOMPARE(ui->dispersion->maxLength(), 327);
    QCOMPARE(form->objectName(), QString("PulsarForm"));
    QCOMPARE(form->windowTitle(), QString("PulsarForm"));
}

void TestPulsarFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows = {
        {"label", "File name: "},
        {"fileName", "fname"},
        {"moduleLabel", "Module"},
        {"channelLabel", "Channel"},
        {"rayLabel", "  Ray"},
        {"periodLabel", "Period"},
        {"period", "3.032"},
        {"dispersionLabel", "Dispersion"},
        {"dispersion", "26.2"},
        {"pointsLabel", "Points"},
        {"isFirstPoint", "First point"},
        {"firstPoint", "58000"},
        {"firstPointDelta", "100"},
        {"isOrvUtc", "ORV UTC"},
        {"orvUtc", "12:10:52"},
        {"orvUtcDelta", "15"},
        {"showNative", "Show native"},
        {"sumPeriod", "Sum period"},
        {"sumChannelsDemoNoise", "Sum channels and  demo noise"},
        {"showDeductNoise", "deduct "},
        {"sumChannelsAndAverage", "Sum channels and average"},
        {"sumChannelsAndFourier", "Fourier of sum channels with 1 disp"},
        {"sum4Dispersions", "Fourier of sum channels with 4 disp"},
        {"sumAllDispersions", "First harmonic/disp with 1 average"},
        {"sumMultiDispersions", "First harmonic/disp with multi average"},
        {"sumTimeDispersions", "First harmonic/disp with multi first point"},
        {"checkDeleteStep", "Delete step from data"},
        {"averagingLabel", "Averaging number"},
        {"averageWithNull", "With null"},
        {"harmonicNumberLabel", "Harmonic number"},
        {"harmonicNum", "66"},
        {"noisePolinom5", "Polinom 5"},
        {"noiseMedian", "Median line 256"},
        {"noiseBack", "Back channels linear 128"},
        {"noiseWithout", "Without noise deduction"},
        {"withNormalization", "With normalization"},
        {"pushButton", "Ok"},
        {"groupBox_1", "Start point and delta (in points and sec)"},
        {"groupBox_2", "Action"},
        {"groupBox_3", "Averaging"},
        {"groupBox_4", "Method of noise base line deduction"},
    };
    WidgetText::addTextRows(rows);
}

void TestPulsarFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestPulsarFormUi::spinBoxes_data() {
    WidgetText::addSpinBoxColumns();
    QTest::newRow("module") << "module" << 1 << 6 << 1;
    QTest::newRow("channel") << "channel" << 1 << 33 << 1;
    QTest::newRow("ray") << "ray" << 1 << 33 << 7;
    QTest::newRow("averageCount") << "averageCount" << 0 << 8 << 0;
}

void TestPulsarFormUi::spinBoxes() {
    WidgetText::checkSpinBoxRow(form);
}

void TestPulsarFormUi::formGeometry() {
    QCOMPARE(form->maximumWidth(), 328);
    QCOMPARE(form->minimumSize(), QSize(200, 0));
    QCOMPARE(form->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(ui->verticalLayout_1->spacing(), 10);
    QCOMPARE(ui->channel->minimumWidth(), 43);
    QCOMPARE(ui->channel->maximumWidth(), 43);
    QCOMPARE(ui->orvUtcDelta->minimumWidth(), 80);
    QCOMPARE(ui->pushButton->maximumWidth(), 100);
    // The input column ends with the button and a spacer that takes the rest of the height.
    const int n = ui->verticalLayout_1->count();
    QCOMPARE(ui->verticalLayout_1->itemAt(n - 2)->widget(), static_cast<QWidget*>(ui->pushButton));
    QVERIFY(ui->verticalLayout_1->itemAt(n - 1)->spacerItem());
}

void TestPulsarFormUi::groupsAreExclusive() {
    ui->sumPeriod->setChecked(true);
    ui->showNative->setChecked(true);
    QVERIFY(!ui->sumPeriod->isChecked());
    ui->isOrvUtc->setChecked(true);
    QVERIFY(!ui->isFirstPoint->isChecked());
    ui->noiseBack->setChecked(true);
    QVERIFY(!ui->noisePolinom5->isChecked());
    // Groups do not interfere with each other.
    QVERIFY(ui->showNative->isChecked());
}

QTEST_MAIN(TestPulsarFormUi)
#include "tst_pulsarformui.moc"
