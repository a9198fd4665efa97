#include "support/widgettext.h"
#include "ui_profileform.h"

#include <QtTest>

class TestProfileFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void texts_data();
    void texts();
    void startState();
    void rangesAndLimits();
    void geometry();

private:
    QWidget* form = nullptr;
    Ui::ProfileForm* ui = nullptr;
};

void TestProfileFormUi::init() {
    form = new QWidget;
    ui = new Ui::ProfileForm;
    ui->setupUi(form);
}

void TestProfileFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestProfileFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows{{"groupBoxParameters", "Main parameters"},
                                              {"groupBoxCalculator", "Calculator"},
                                              {"groupBoxStatistic", "Statistics"},
                                              {"groupBoxBestProfiles", "Best profiles"},
                                              {"groupBoxForPrint", "For print"},
                                              {"groupBoxDirName", ""},
                                              {"label_4", "Date"},
                                              {"harmonicLabel", "Point number"},
                                              {"labelShowMaxDisp", "Max dispersion"},
                                              {"label_19", "Plosh"},
                                              {"label_26", "Tres"},
                                              {"dateNext", "->"},
                                              {"datePre", "<-"},
                                              {"multiWidth", "200"},
                                              {"multiHeight", "200"},
                                              {"shiftMaxToCenter", "    Shift maximum to center"},
                                              {"drawGrafikOne", "One graph"},
                                              {"drawGrafikMulti", "Multi graphs"},
                                              {"drawGrafikDisp", "S/N from disp"},
                                              {"calc_period1", "-1"},
                                              {"calc_n1", "-1"},
                                              {"calc_delta", "63:25:30"},
                                              {"calc_n0", "16348"},
                                              {"calc_np", ""},
                                              {"calc_sigma", "0.28"},
                                              {"calc_k1", "0.85"},
                                              {"calc_k2", "1"},
                                              {"calc_T178", "300"},
                                              {"calc_Tr", "270"},
                                              {"label_22", "Tr, Ts=T178*3.333+Tr"},
                                              {"label_calc8", "Sp=snr*dS/(sqrt(N)*k1*k2)"},
                                              {"calculate", "Calculate"},
                                              {"calculate_show", "Show"},
                                              {"label_13", "Year:"},
                                              {"label_14", "Graphs: "},
                                              {"showSnr", "    snr"},
                                              {"showVal", "signal"},
                                              {"drawGrafikStat", "Show statistic"},
                                              {"scroll", "Scroll to best"},
                                              {"printWidth", "500"},
                                              {"printHeight", "500"},
                                              {"changeSize", "Show size"},
                                              {"saveImage", "Save image"},
                                              {"label", "Dir name: "},
                                              {"dirName", "directory name"},
                                              {"textInfo", ""}};
    WidgetText::addTextRows(rows);
}

void TestProfileFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestProfileFormUi::startState() {
    for (QAbstractButton* on :
         {static_cast<QAbstractButton*>(ui->showMax), static_cast<QAbstractButton*>(ui->shiftMaxToCenter),
          static_cast<QAbstractButton*>(ui->drawCircle), static_cast<QAbstractButton*>(ui->showSnr)}) {
        QVERIFY2(on->isChecked(), qPrintable(on->objectName()));
    }
    for (QAbstractButton* off :
         {ui->sortSnr, ui->showSigma, ui->showVal, ui->drawMulti, ui->calc_show_w50, ui->forPrintShowMax}) {
        QVERIFY2(!off->isChecked(), qPrintable(off->objectName()));
    }
    QVERIFY(ui->groupBoxCalculator->isCheckable() && ui->groupBoxCalculator->isChecked());
    QVERIFY(ui->groupBoxStatistic->isCheckable() && ui->groupBoxStatistic->isChecked());
    QVERIFY(ui->groupBoxForPrint->isCheckable() && !ui->groupBoxForPrint->isChecked());
    QVERIFY(!ui->groupBoxParameters->isCheckable());
    QCOMPARE(ui->groupBoxForPrint->whatsThis(), QString("Action"));
    // Boxes right of their text, except the print one whose caption is a label.
    for (QWidget* w : {static_cast<QWidget*>(ui->showMax), static_cast<QWidget*>(ui->sortSnr),
                       static_cast<QWidget*>(ui->showSigma), static_cast<QWidget*>(ui->drawCircle),
                       static_cast<QWidget*>(ui->label_13)}) {
        QCOMPARE(w->layoutDirection(), Qt::RightToLeft);
    }
    QCOMPARE(ui->forPrintShowMax->layoutDirection(), Qt::LeftToRight);
    for (QComboBox* c :
         {ui->comboBoxDate, ui->comboBoxDispersion, ui->comboBoxPeriod, ui->comboBoxPlosh, ui->comboBoxTres,
          ui->comboBoxStatDisp, ui->comboBoxStatPeriod, ui->comboBoxStatYear}) {
        QCOMPARE(c->count(), 0);
    }
    QVERIFY(ui->comboBoxDate->isEditable() && ui->comboBoxStatYear->isEditable());
    QVERIFY(!ui->comboBoxPlosh->isEditable() && !ui->comboBoxTres->isEditable());
    QCOMPARE(ui->comboBoxMaximums->count(), 2);
    QCOMPARE(ui->comboBoxMaximums->itemText(1), QString("Best for current date"));
    QCOMPARE(ui->comboBoxMaximums->currentText(), QString("The best among all"));
    QVERIFY(ui->layoutMaximums->isEmpty());
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) {
            continue; // Qt's own parts of scroll areas and combo boxes
        }
        // An unticked checkable group box disables its own contents.
        const bool inUnticked = ui->groupBoxForPrint->isAncestorOf(w);
        QVERIFY2(!w->isHidden() && (w->isEnabled() || inUnticked), qPrintable(w->objectName()));
    }
}

void TestProfileFormUi::rangesAndLimits() {
    QCOMPARE(ui->average->minimum(), 0);
    QCOMPARE(ui->average->maximum(), 12);
    QCOMPARE(ui->harmonic->maximum(), 99);
    QCOMPARE(ui->radius->minimum(), 1);
    QCOMPARE(ui->radius->maximum(), 10);
    QCOMPARE(ui->radius->value(), 1);
    ui->average->setValue(13);
    QCOMPARE(ui->average->value(), 12);
    ui->comboBoxMaximums->addItem("third");
    QCOMPARE(ui->comboBoxMaximums->count(), 2);
    QCOMPARE(ui->comboBoxMaximums->maxVisibleItems(), 2);
}

void TestProfileFormUi::geometry() {
    QCOMPARE(form->objectName(), QString("ProfileForm"));
    QCOMPARE(form->windowTitle(), QString("FfaForm"));
    QCOMPARE(form->minimumWidth(), 320);
    QCOMPARE(form->maximumWidth(), 320);
    QCOMPARE(ui->scrollArea->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(ui->multiWidth->minimumWidth(), 26);
    QCOMPARE(ui->multiWidth->maximumWidth(), 26);
    for (QPushButton* b : {ui->dateNext, ui->datePre, ui->statYearNext, ui->statPeriodPre}) {
        QCOMPARE(b->maximumWidth(), 25);
    }
    // The directory box stays last in the column, under the stretching spacer.
    const int last = ui->verticalLayout_1->count() - 1;
    QCOMPARE(ui->verticalLayout_1->itemAt(last)->widget(), ui->groupBoxDirName);
    QVERIFY(ui->verticalLayout_1->itemAt(last - 1)->spacerItem());
    form->resize(900, 400);
    QCOMPARE(form->width(), 320);
}

QTEST_MAIN(TestProfileFormUi)
#include "tst_profileformui.moc"
