#include "support/widgettext.h"
#include "ui_ffaform.h"

#include <QtTest>

class TestFfaFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void texts_data();
    void texts();
    void spinBoxes_data();
    void spinBoxes();
    void geometry();
    void groupsAreExclusive();
    void pointsCannotBeEdited();

private:
    QWidget* form = nullptr;
    Ui::FfaForm* ui = nullptr;
};

void TestFfaFormUi::init() {
    form = new QWidget;
    ui = new Ui::FfaForm;
    ui->setupUi(form);
}

void TestFfaFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestFfaFormUi::startState() {
    QVERIFY(ui->ffa->isChecked());
    for (QRadioButton* b : {ui->showNative, ui->sumChannelsDemoNoise, ui->sumChannelsAndAverage}) {
        QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
    }
    for (QRadioButton* b : {ui->noiseWithout, ui->noisePolinom5, ui->noiseBack, ui->noiseMedian}) {
        QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
    }
    QVERIFY(ui->isFirstPoint->isChecked());
    QVERIFY(!ui->isOrvUtc->isChecked());
    for (QCheckBox* c :
         {ui->checkDeleteStep, ui->withNormalization, ui->normalised, ui->downToNull, ui->showSigma}) {
        QVERIFY2(c->isChecked(), qPrintable(c->objectName()));
    }
    for (QCheckBox* c : {ui->averageWithNull, ui->show_as_is, ui->deredden}) {
        QVERIFY2(!c->isChecked(), qPrintable(c->objectName()));
    }
    QVERIFY(!ui->deredden->isCheckable());
    for (QWidget* w : {static_cast<QWidget*>(ui->rmed_width), static_cast<QWidget*>(ui->rmed_minpts),
                       static_cast<QWidget*>(ui->label_deredden), static_cast<QWidget*>(ui->label_rmed_width),
                       static_cast<QWidget*>(ui->label_rmed_minpts)}) {
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }
    QCOMPARE(ui->dispersion->maxLength(), 327);
    QCOMPARE(form->objectName(), QString("FfaForm"));
    QCOMPARE(form->windowTitle(), QString("FfaForm"));
    QCOMPARE(ui->groupBox_1->whatsThis(), QString("Start point"));
    QCOMPARE(ui->groupBox_4->whatsThis(), QString("Method of noise base line"));
}

void TestFfaFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows = {
        {"label", "File name: "},
        {"fileName", "fname"},
        {"moduleLabel", "Module"},
        {"rayLabel", "Ray "},
        {"channelLabel", "Channel"},
        {"pointsLabel", "Points"},
        {"points", "16384"},
        {"dispersionLabel", "Dispersion"},
        {"dispersion", "26.2"},
        {"checkDeleteStep", "Delete step"},
        {"groupBox_1", "Start point "},
        {"isFirstPoint", "First point"},
        {"firstPoint", "58000"},
        {"isOrvUtc", "ORV UTC"},
        {"orvUtc", "12:10:52"},
        {"groupBox_2", "Action"},
        {"showNative", "Show native"},
        {"sumChannelsDemoNoise", "Sum channels and  demo noise"},
        {"sumChannelsAndAverage", "Sum channels and average"},
        {"ffa", "FFA"},
        {"groupBox_3", "Averaging"},
        {"averagingLabel", "Averaging number"},
        {"averageWithNull", "With null"},
        {"harmonicNumberLabel", "Harmonic number"},
        {"harmonicNum", "66"},
        {"groupBox_4", "Method of noise base line deduction"},
        {"noiseWithout", "Without noise deduction"},
        {"noisePolinom5", "Polinom 5"},
        {"noiseBack", "Back channels linear 128"},
        {"noiseMedian", "Median line on width 256"},
        {"withNormalization", "With normalization"},
        {"pushButtonOk", "Ok"},
        {"groupBox_ffa", "FFA"},
        {"label_period", "period, sec"},
        {"period_min", "3"},
        {"period_max", "10.0"},
        {"label_fpmin", "fpmin"},
        {"fpmin", "1"},
        {"label_bins", "bins"},
        {"bins_min", "220"},
        {"bins_max", "240"},
        {"label_ducy_max", "ducy_max"},
        {"ducy_max", "0.02"},
        {"label_wtsp", "wtsp"},
        {"wtsp", "1.5"},
        {"label_deredden", "deredden"},
        {"deredden", ""},
        {"normalised", "normalised"},
        {"label_rmed_width", "rmed_width"},
        {"rmed_width", "4.0"},
        {"label_rmed_minpts", "rmed_minpts"},
        {"rmed_minpts", "101"},
        {"groupBox_sigma", "To null and sigma"},
        {"label_10", "down to null "},
        {"downToNull", ""},
        {"label_2", "average from "},
        {"nullProc", "70"},
        {"label_11", " % of points"},
        {"label_4", "show sigma"},
        {"showSigma", ""},
        {"label_6", "from"},
        {"sigmaProc", "50"},
        {"label_9", " % of points"},
        {"label_5", "line 1:  "},
        {"sigmaLevel1", "1"},
        {"label_3", " sigma"},
        {"label_7", " line 2: "},
        {"sigmaLevel2", "5"},
        {"label_8", " sigma"},
        {"pushButtonFFA", "Create FFA"},
        {"show_as_is", "show as is"},
        {"groupBoxFFA_info", "FFA info (periodogram size)"},
        {"label_info_period", "period, sec"},
        {"info_period_min", "1"},
        {"info_period_max", "10.0"},
        {"label_info_bins", "bins"},
        {"info_bins_min", "39"},
        {"info_bins_max", "44"},
        {"label_info_ducy_max", "ducy_max"},
        {"info_ducy_max", "0.01"},
        {"label_info_wtsp", "wtsp"},
        {"info_wtsp", "1.5"},
        {"pushButtonFFA_info", "Show FFA info"},
    };
    WidgetText::addTextRows(rows);
}

void TestFfaFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestFfaFormUi::spinBoxes_data() {
    WidgetText::addSpinBoxColumns();
    QTest::newRow("module") << "module" << 1 << 6 << 1;
    QTest::newRow("ray") << "ray" << 1 << 33 << 7;
    QTest::newRow("channel") << "channel" << 1 << 33 << 1;
    QTest::newRow("averageCount") << "averageCount" << 0 << 8 << 0;
}

void TestFfaFormUi::spinBoxes() {
    WidgetText::checkSpinBoxRow(form);
}

void TestFfaFormUi::geometry() {
    QCOMPARE(form->minimumWidth(), 330);
    QCOMPARE(form->maximumWidth(), 330);
    QCOMPARE(form->baseSize(), QSize(440, 0));
    QCOMPARE(form->sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    // The whole column scrolls: the form's only child in its layout is the scroll area.
    QCOMPARE(ui->gridLayout->count(), 1);
    QCOMPARE(ui->gridLayout->itemAt(0)->widget(), static_cast<QWidget*>(ui->scrollArea));
    QCOMPARE(ui->scrollArea->widget(), ui->scrollAreaWidgetContents);
    QVERIFY(ui->scrollArea->widgetResizable());
    QCOMPARE(ui->channel->minimumWidth(), 43);
    QCOMPARE(ui->channel->maximumWidth(), 43);
    QCOMPARE(ui->dispersion->maximumWidth(), 43);
    QCOMPARE(ui->pushButtonOk->maximumWidth(), 100);
    QCOMPARE(ui->pushButtonFFA->maximumWidth(), 100);
    QCOMPARE(ui->nullProc->alignment(), Qt::AlignCenter);
    QCOMPARE(ui->sigmaLevel1->minimumWidth(), 25);
    QCOMPARE(ui->sigmaLevel1->maximumWidth(), 30);
    // Top to bottom: file name, inputs, four groups, Ok, FFA, sigma, Create FFA row, size table.
    QCOMPARE(ui->verticalLayout_1->count(), 11);
    QCOMPARE(ui->verticalLayout_1->itemAt(6)->widget(), static_cast<QWidget*>(ui->pushButtonOk));
    QCOMPARE(ui->verticalLayout_1->itemAt(10)->widget(), static_cast<QWidget*>(ui->groupBoxFFA_info));
}

void TestFfaFormUi::groupsAreExclusive() {
    ui->showNative->setChecked(true);
    QVERIFY(!ui->ffa->isChecked());
    ui->isOrvUtc->setChecked(true);
    QVERIFY(!ui->isFirstPoint->isChecked());
    ui->noiseBack->setChecked(true);
    ui->noiseMedian->setChecked(true);
    QVERIFY(!ui->noiseBack->isChecked());
    QVERIFY(ui->showNative->isChecked());
    QVERIFY(ui->isOrvUtc->isChecked());
}

void TestFfaFormUi::pointsCannotBeEdited() {
    form->show();
    ui->points->setFocus();
    QTest::keyClicks(ui->points, "123");
    QCOMPARE(ui->points->text(), QString("16384"));
    const QString longText(400, QChar('7'));
    ui->dispersion->clear();
    QTest::keyClicks(ui->dispersion, longText);
    QCOMPARE(ui->dispersion->text().size(), 327);
}

QTEST_MAIN(TestFfaFormUi)
#include "tst_ffaformui.moc"
