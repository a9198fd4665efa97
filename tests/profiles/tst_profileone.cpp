#include "app/mainwindow.h"
#include "core/profilegrafik.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString day = QStringLiteral("2020.01.01");
const QVector<double> seven{1, 2, 6, 9, 5, 2, 1};
const QVector<double> eight{1, 2, 6, 9, 5, 2, 1, 1};
} // namespace

class TestProfileOne : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void halfHeightPoints_data();
    void halfHeightPoints();
    void timeLabels();
    void timeFromPointWithoutPoints();
    void view_data();
    void view();
    void smoothingKeepsStoredRange();
    void captionsFollowSelection();
    void failedChecksKeepScreen_data();
    void failedChecksKeepScreen();
    void nearlyFlatNegativePaints();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    QString root;
    // One date and DM 10 with the periods 1.2 (seven points) and 0.8 (eight points).
    ProfileForm* makeForm(const QString& mode);
};

void TestProfileOne::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    root = dir->path() + "/N1/J1234+5678";
}

void TestProfileOne::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

ProfileForm* TestProfileOne::makeForm(const QString& mode) {
    const QString path = root + "/" + ProfileFileWriter::fileName(day, "10", "1.2", 1);
    if (!QFile::exists(path)) {
        ProfileFileWriter::write(path, {{"1.2", seven}, {"0.8", eight}});
    }
    auto* form = new ProfileForm(root, mode, window);
    form->ui->comboBoxPeriod->setCurrentText("1.2");
    form->ui->pulsarName->setText("J1234+56789_m1_r2");
    return form;
}

void TestProfileOne::halfHeightPoints_data() {
    QTest::addColumn<QVector<double>>("v");
    QTest::addColumn<double>("level");
    QTest::addColumn<QVector<int>>("points");
    QTest::newRow("pulse") << QVector<double>{0, 1, 5, 6, 5, 1, 0} << 3.0 << QVector<int>{2, 5};
    QTest::newRow("single point does not start")
        << QVector<double>{0, 0, 8, 0, 0} << 4.0 << QVector<int>{0, 0};
    QTest::newRow("single dip does not end")
        << QVector<double>{0, 5, 5, 1, 5, 5, 0, 0} << 3.0 << QVector<int>{1, 6};
    QTest::newRow("never ends") << QVector<double>{0, 5, 5, 5} << 3.0 << QVector<int>{0, 0};
    QTest::newRow("one point") << QVector<double>{9} << 3.0 << QVector<int>{0, 0};
    QTest::newRow("at the level counts") << QVector<double>{3, 3, 3, 3} << 3.0 << QVector<int>{0, 1};
}

void TestProfileOne::halfHeightPoints() {
    QFETCH(QVector<double>, v);
    QFETCH(double, level);
    QFETCH(QVector<int>, points);
    QCOMPARE(ProfileForm::getHalfHeightPoints(v, level), points);
}

void TestProfileOne::timeLabels() {
    QCOMPARE(ProfileForm::getTimeLabels(1.2, 10),
             (QVector<QString>{"0.0", "0.1", "0.2", "0.4", "0.5", "0.6", "0.7", "0.8", "1.0", "1.1", "1.2"}));
    QVERIFY(ProfileForm::getTimeLabels(1.2, -1).isEmpty());
    QCOMPARE(ProfileForm::getTimeLabels(1.2, 0), QVector<QString>{"0.0"});
}

void TestProfileOne::timeFromPointWithoutPoints() {
    QScopedPointer<ProfileForm> form(makeForm("periods"));
    desktop->calls.clear();
    QCOMPARE(form->getTimeFromPoint(5, 0, 1.0), -1.0);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("Нет числа точек в профиле!"));
    QCOMPARE(form->getTimeFromPoint(5, 10, 1.0), 0.5);
}

void TestProfileOne::view_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("average");
    QTest::addColumn<bool>("center");
    QTest::addColumn<bool>("showMax");
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("printShowMax");
    QTest::addColumn<QString>("n1");
    QTest::addColumn<QStringList>("captions"); // caption4 .. caption6
    QTest::addColumn<QVector<int>>("markers");

    QTest::newRow("average 0") << "periods"
                               << "1.2" << 0 << false << true << false << false << "-1"
                               << QStringList{"max=9.0", "snr=9.0", "average=0"} << QVector<int>{3};
    QTest::newRow("centred, 7 points") << "periods"
                                       << "1.2" << 0 << true << true << false << false << "-1"
                                       << QStringList{"max=9.0", "snr=9.0", "average=0"} << QVector<int>{3};
    QTest::newRow("centred, 8 points") << "periods"
                                       << "0.8" << 0 << true << false << false << false << "-1"
                                       << QStringList{"", "", ""} << QVector<int>{4};
    QTest::newRow("n1 inside the profile") << "periods"
                                           << "1.2" << 0 << false << false << false << false << "2"
                                           << QStringList{"", "", ""} << QVector<int>{3, 2};
    QTest::newRow("n1 past the end") << "periods"
                                     << "1.2" << 0 << false << false << false << false << "7"
                                     << QStringList{"", "", ""} << QVector<int>{3};
    QTest::newRow("dispersions") << "dispersions"
                                 << "1.2" << 0 << false << true << false << false << "-1"
                                 << QStringList{"max=9.0", "num=3", ""} << QVector<int>{3};
    QTest::newRow("print without its show max")
        << "periods"
        << "1.2" << 0 << false << true << true << false << "-1" << QStringList{"", "", ""} << QVector<int>{};
    QTest::newRow("print with its show max, dispersions")
        << "dispersions"
        << "1.2" << 0 << false << false << true << true << "-1" << QStringList{"max=9.0", "num=3", ""}
        << QVector<int>{};
}

void TestProfileOne::view() {
    QFETCH(QString, mode);
    QFETCH(QString, period);
    QFETCH(int, average);
    QFETCH(bool, center);
    QFETCH(bool, showMax);
    QFETCH(bool, print);
    QFETCH(bool, printShowMax);
    QFETCH(QString, n1);
    QFETCH(QStringList, captions);
    QFETCH(QVector<int>, markers);
    QScopedPointer<ProfileForm> form(makeForm(mode));
    Ui::ProfileForm* ui = form->ui;
    ui->comboBoxPeriod->setCurrentText(period);
    ui->printDispersion->setText("10");
    ui->printPeriod->setText(period);
    ui->average->blockSignals(true);
    ui->average->setValue(average);
    form->maxToCenter = center;
    ui->showMax->setChecked(showMax);
    ui->groupBoxForPrint->setChecked(print);
    ui->forPrintShowMax->setChecked(printShowMax);
    ui->groupBoxCalculator->setChecked(true);
    ui->calc_n1->setText(n1);
    desktop->calls.clear();

    QVERIFY(form->drawGrafikOne());
    ProfileGrafik* plot = form->profileGrafik;
    QCOMPARE(form->view, QString("one"));
    QCOMPARE(form->workLayout->itemAt(1)->widget(), plot);
    QCOMPARE(plot->grafikType, QString("profile"));
    QVERIFY(!plot->hintShown);
    QCOMPARE(plot->forPrint, print);
    QCOMPARE((QStringList{plot->caption4, plot->caption5, plot->caption6}), captions);
    QCOMPARE(plot->markers, markers);
    QCOMPARE(plot->caption1, QString("J1234+5678"));
    QCOMPARE(plot->caption2, QString("DM=10"));
    QCOMPARE(plot->caption3, "period=" + period);
    QCOMPARE(plot->labelsTop, (QVector<QString>{"0", "0.25", "0.5", "0.75", " "}));
    QCOMPARE(plot->labelsBottom, ProfileForm::getTimeLabels(period.toDouble(), 10));
    QCOMPARE(plot->mainWindow, window);
    QCOMPARE(plot->date, day);

    // Calculator fields from the drawn series: H 9, half height 4.5 crossed at points 2 and 5.
    const int n = period == "1.2" ? 7 : 8;
    const QVector<int> half = ProfileForm::getHalfHeightPoints(plot->arrGrafikY[0], 4.5);
    QCOMPARE(ui->calc_H->text(), QString("9.00"));
    QCOMPARE(ui->calc_h2->text(), QString("4.50"));
    QCOMPARE(ui->calc_np->text(), QString::number(n));
    const double t1 = half[0] * period.toDouble() / n;
    const double t2 = half[1] * period.toDouble() / n;
    QCOMPARE(ui->calc_x1->text(), QString::number(t1, 'f', Tools::decimalsFor(t1)));
    QCOMPARE(ui->calc_w50->text(), QString::number(t2 - t1, 'f', Tools::decimalsFor(t2 - t1)));
    QVERIFY(!ui->groupBoxCalculator->isHidden());
    QVERIFY(!ui->widgetCalculator->isHidden());
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileOne::smoothingKeepsStoredRange() {
    QScopedPointer<ProfileForm> form(makeForm("periods"));
    Ui::ProfileForm* ui = form->ui;
    ui->average->blockSignals(true);
    ui->average->setValue(3);
    ui->showMax->setChecked(true);
    form->maxToCenter = false;
    ui->calc_show_w50->setChecked(true);
    QVERIFY(form->drawGrafikOne());
    ProfileGrafik* plot = form->profileGrafik;
    const QVector<double> smoothed = Tools::smoothRepeated(seven, 3);
    QCOMPARE(plot->arrGrafikY[0], smoothed);
    const double m = Tools::maxValue(smoothed);
    QCOMPARE(plot->caption4, "max=" + QString::number(m, 'f', 1));
    QCOMPARE(plot->caption5, "snr=" + QString::number(std::pow(std::sqrt(2.0), 3) * m, 'f', 1));
    QCOMPARE(plot->caption6, QString("average=3 (2^3=8)"));
    // The range is the stored one of the unsmoothed profile (9 and 1), widened once by redraw.
    QCOMPARE(plot->maxValue, 9.0);
    QVERIFY(plot->yMax > 9.0 && plot->yMax < 9.5);
    QVERIFY(plot->yMin < 1.0 && plot->yMin > 0.5);
    // The red half-height line over the whole profile.
    QCOMPARE(plot->arrGrafikY.size(), 2);
    QCOMPARE(plot->arrGrafikY[1], Tools::filledVector(0.5 * m, 7));
    QCOMPARE(plot->colors, (QVector<QString>{"blue", "red"}));
    QCOMPARE(plot->visible, (QVector<bool>{true, true}));
    // Unchecked calculator: no window markers and the fields hidden.
    QVERIFY(ui->widgetCalculator->isHidden());
}

// A date change that moves the DM, or a period step, shows the new values in the captions; a caption
// typed for print stays through redraws that keep the selection.
void TestProfileOne::captionsFollowSelection() {
    const QString later = QStringLiteral("2020.01.02");
    QVERIFY(ProfileFileWriter::write(root + "/" + ProfileFileWriter::fileName(later, "20", "1.2", 1),
                                     {{"1.2", {1, 2, 3, 4, 3, 2, 1}}}));
    QScopedPointer<ProfileForm> form(makeForm("periods")); // preselects the strongest: day, 10, 1.2
    Ui::ProfileForm* ui = form->ui;
    QVERIFY(form->drawGrafikOne());
    QCOMPARE(form->profileGrafik->caption2, QString("DM=10"));
    QCOMPARE(form->profileGrafik->caption3, QString("period=1.2"));

    ui->printDispersion->setText("10 (typed)");
    ui->showMax->click();
    QCOMPARE(form->profileGrafik->caption2, QString("DM=10 (typed)"));

    ui->comboBoxDate->setCurrentText(later);
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("20"));
    QCOMPARE(form->view, QString("one"));
    QCOMPARE(form->profileGrafik->caption2, QString("DM=20"));
    QCOMPARE(ui->printDispersion->text(), QString("20"));

    ui->comboBoxDate->setCurrentText(day);
    form->periodNext(); // 1.2 is the last of 0.8, 1.2: back to 0.8
    QCOMPARE(ui->comboBoxPeriod->currentText(), QString("0.8"));
    QCOMPARE(form->profileGrafik->caption2, QString("DM=10"));
    QCOMPARE(form->profileGrafik->caption3, QString("period=0.8"));
}

void TestProfileOne::failedChecksKeepScreen_data() {
    QTest::addColumn<QString>("dm");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("text");
    QTest::newRow("no DM") << ""
                           << "1.2"
                           << "Выберите дисперсию!";
    QTest::newRow("no period") << "10"
                               << ""
                               << "Выберите период!";
    QTest::newRow("unknown key") << "10"
                                 << "9.9"
                                 << "Нет данных в для key=2020.01.01_10_9.9";
}

void TestProfileOne::failedChecksKeepScreen() {
    QFETCH(QString, dm);
    QFETCH(QString, period);
    QFETCH(QString, text);
    QScopedPointer<ProfileForm> form(makeForm("periods"));
    QVERIFY(form->drawGrafikOne());
    QPointer<ProfileGrafik> shown = form->profileGrafik;
    form->view = "one";
    form->ui->comboBoxDispersion->setEditable(true);
    form->ui->comboBoxPeriod->setEditable(true);
    form->ui->comboBoxDispersion->setCurrentText(dm);
    form->ui->comboBoxPeriod->setCurrentText(period);
    desktop->calls.clear();
    QVERIFY(!form->drawGrafikOne());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown);
    QCOMPARE(form->profileGrafik, shown.data());
    QCOMPARE(form->workLayout->itemAt(1)->widget(), shown.data());
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, text);
}

void TestProfileOne::nearlyFlatNegativePaints() {
    QVector<double> flat(64);
    for (int i = 0; i < flat.size(); ++i) {
        flat[i] = -1000 + 0.0009 * (i == 20);
    }
    QVERIFY(ProfileFileWriter::write(root + "/" + ProfileFileWriter::fileName(day, "20", "0.5", 1),
                                     {{"0.5", flat}}));
    QScopedPointer<ProfileForm> form(makeForm("periods"));
    form->ui->comboBoxDispersion->setCurrentText("20");
    form->ui->comboBoxPeriod->setCurrentText("0.5");
    QVERIFY(form->drawGrafikOne());
    ProfileGrafik* plot = form->profileGrafik;
    plot->resize(400, 300);
    plot->grab();
    QVERIFY(plot->painted);
    QVERIFY(plot->yAxis().labels.size() < 20);
}

QTEST_MAIN(TestProfileOne)
#include "tst_profileone.moc"
