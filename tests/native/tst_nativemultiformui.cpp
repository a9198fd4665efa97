#include "support/widgettext.h"
#include "ui_nativemultiform.h"

#include <QScrollBar>
#include <QtTest>

class TestNativeMultiFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void texts_data();
    void texts();
    void panelWidthAndScrolling();

private:
    QWidget* form = nullptr;
    Ui::NativeMultiForm* ui = nullptr;
};

void TestNativeMultiFormUi::init() {
    form = new QWidget;
    ui = new Ui::NativeMultiForm;
    ui->setupUi(form);
}

void TestNativeMultiFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestNativeMultiFormUi::startState() {
    QCOMPARE(form->objectName(), QString("NativeMultiForm"));
    QCOMPARE(form->windowTitle(), QString("FfaForm"));
    QVERIFY(ui->showDisp2->isChecked());
    QVERIFY(!ui->showDisp->isChecked() && !ui->showDisp0->isChecked());
    QCOMPARE(ui->len->minimum(), 3);
    QCOMPARE(ui->len->maximum(), 600);
    QCOMPARE(ui->len->value(), 64);
    QCOMPARE(ui->average->minimum(), 0);
    QCOMPARE(ui->average->maximum(), 10);
    QCOMPARE(ui->average->value(), 0);
    for (QCheckBox* c : {ui->showApprox, ui->deductNoise, ui->deleteStep}) {
        QVERIFY2(!c->isChecked(), qPrintable(c->objectName()));
        QVERIFY(c->text().isEmpty());
    }
    QVERIFY(ui->comboBoxDate->isEditable());
    QVERIFY(ui->comboBoxDispersion->isEditable());
    QCOMPARE(ui->comboBoxDate->count(), 0);
    QCOMPARE(ui->comboBoxDispersion->count(), 0);
    QCOMPARE(ui->comboBoxAverageType->count(), 0);
    QVERIFY(ui->labelClickText->wordWrap());
    for (QLineEdit* e : {ui->cols, ui->multiWidth, ui->multiHeight}) {
        QVERIFY2(!e->validator(), qPrintable(e->objectName()));
    }
}

void TestNativeMultiFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows = {
        {"groupBoxMain", "Main "},
        {"labelDate", "Date"},
        {"dateNext", "->"},
        {"datePre", "<-"},
        {"labelDispersion", "Dispersion "},
        {"dispNext", "->"},
        {"dispPre", "<-"},
        {"labelCols", "Cols num"},
        {"cols", "3"},
        {"labelSize", "Graphs size "},
        {"multiWidth", "450"},
        {"label_x", "x"},
        {"multiHeight", "200"},
        {"groupBoxGraphParameters", "Graph parameters"},
        {"labelShowGraphics", "Show graphics"},
        {"showDisp", "disp"},
        {"showDisp0", "disp0"},
        {"showDisp2", "both"},
        {"labelAverage", "Average"},
        {"label", "Average type"},
        {"groupBoxApprox", "Approximation and other"},
        {"labelApproxLen", "Approx len"},
        {"labelShowApprox", "Show approx"},
        {"labelDeductNoise", "Deduct noise"},
        {"labelDeleteStep", "Delete step"},
        {"drawGrafikOne", "One graph"},
        {"drawGrafikMulti", "Multi graphs"},
        {"saveGreen", "Save green dates"},
        {"writeGreen", "Write green files"},
        {"labelClickText", "    Left-click to switch multi / one\n    Right-click to color green / white "},
        {"groupBoxDirName", ""},
        {"dirName", "directory name"},
        {"textInfo", ""},
    };
    WidgetText::addTextRows(rows);
}

void TestNativeMultiFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestNativeMultiFormUi::panelWidthAndScrolling() {
    QCOMPARE(form->minimumWidth(), 320);
    QCOMPARE(form->maximumWidth(), 320);
    QCOMPARE(form->baseSize(), QSize(260, 0));
    QCOMPARE(ui->scrollArea->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(ui->scrollArea->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(ui->scrollArea->widgetResizable());
    QCOMPARE(ui->scrollArea->frameShape(), QFrame::NoFrame);
    QCOMPARE(ui->scrollArea->widget(), ui->scrollAreaWidgetContents);

    // In a wide, short window the panel stays 320 wide and its contents scroll vertically.
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    form->setParent(&window);
    layout->addWidget(form);
    window.resize(1200, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(form->width(), 320);
    QVERIFY(ui->scrollArea->verticalScrollBar()->maximum() > 0);
    form->setParent(nullptr);
}

QTEST_MAIN(TestNativeMultiFormUi)
#include "tst_nativemultiformui.moc"
