#include "support/widgettext.h"
#include "ui_searchnativeform.h"

#include <QtTest>

class TestSearchNativeFormUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void texts_data();
    void texts();
    void selectorGrid();
    void fixedWidthPanel();

private:
    QWidget* form = nullptr;
    Ui::SearchNativeForm* ui = nullptr;
};

void TestSearchNativeFormUi::init() {
    form = new QWidget;
    ui = new Ui::SearchNativeForm;
    ui->setupUi(form);
}

void TestSearchNativeFormUi::cleanup() {
    delete ui;
    delete form;
}

void TestSearchNativeFormUi::texts_data() {
    const QList<QPair<QString, QString>> rows{
        {"groupBoxParameters", "Graphs parameters"},
        {"label_4", "Date"},
        {"dateNext", "->"},
        {"datePre", "<-"},
        {"label_3", "Dispersion"},
        {"dispNext", "->"},
        {"dispPre", "<-"},
        {"labelPlosh", "Plosh"},
        {"labelTres", "Tres"},
        {"label_5", "width x height"},
        {"multiWidth", "600"},
        {"multiHeight", "200"},
        {"drawGrafikOne", "One graph"},
        {"drawGrafikMulti", "Multi graphs"},
        {"groupBoxDirName", ""},
        {"dirName", "directory name"},
        {"textInfo", ""},
    };
    WidgetText::addTextRows(rows);
}

void TestSearchNativeFormUi::texts() {
    WidgetText::checkTextRow(form);
}

void TestSearchNativeFormUi::selectorGrid() {
    // Row 0 stays empty; the forward arrow stands left of the back arrow.
    const QVector<QPair<QWidget*, QPoint>> cells{
        {ui->label_4, {1, 0}},       {ui->comboBoxDate, {1, 1}}, {ui->dateNext, {1, 2}},
        {ui->datePre, {1, 3}},       {ui->label_3, {2, 0}},      {ui->comboBoxDispersion, {2, 1}},
        {ui->dispNext, {2, 2}},      {ui->dispPre, {2, 3}},      {ui->labelPlosh, {3, 0}},
        {ui->comboBoxPlosh, {3, 1}}, {ui->labelTres, {4, 0}},    {ui->comboBoxTres, {4, 1}},
    };
    for (const auto& c : cells) {
        int row = -1;
        int col = -1;
        int rowSpan = 0;
        int colSpan = 0;
        ui->gridLayout_3->getItemPosition(ui->gridLayout_3->indexOf(c.first), &row, &col, &rowSpan, &colSpan);
        QCOMPARE(QPoint(row, col), c.second);
        QCOMPARE(rowSpan, 1);
        QCOMPARE(colSpan, 1);
    }
    QVERIFY(ui->comboBoxDate->isEditable());
    QVERIFY(ui->comboBoxDispersion->isEditable());
    QCOMPARE(ui->dateNext->maximumWidth(), 25);
}

void TestSearchNativeFormUi::fixedWidthPanel() {
    QCOMPARE(form->objectName(), QString("SearchNativeForm"));
    QCOMPARE(form->windowTitle(), QString("FfaForm"));
    form->resize(900, 300);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(form->width(), 320);
    QCOMPARE(ui->scrollArea->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(ui->scrollArea->widgetResizable());
}

QTEST_MAIN(TestSearchNativeFormUi)
#include "tst_searchnativeformui.moc"
