#include "app/mainwindow.h"
#include "core/profilegrafik.h"
#include "profiles/profileform.h"
#include "profiles/profilegrafikinfo.h"
#include "profiles/statisticsfile.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

namespace {
// A statistics file of the given year with one row on 5 March (sigma 2, signal 30, S/N 4).
QString yearFile(const QString& year) {
    return "date;sigma;x;signal;snr;x\n" + year + ".03.05;2;0;30;4;0\n";
}
} // namespace

class TestProfileStats : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void parse();
    void days_data();
    void days();
    void windows();
    void failuresKeepSeries_data();
    void failuresKeepSeries();
    void graphAndPanel();
    void nothingTickedOrMulti();
    void arrows();
    void oneDmHidesItsArrows();
    void panelCoords();
    void clickOnDay();
    void nearlyFlatNegativePaints();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    QString root;
    void write(const QString& relative, const QString& content) {
        QVERIFY(ProfileFileWriter::write(root + "/" + relative, content));
    }
    // A profile of 2015.03.05, DM 57, period 0.7145, so the form can be built.
    ProfileForm* makeForm() {
        write(ProfileFileWriter::fileName("2015.03.05", "57", "0.7145", 4),
              ProfileFileWriter::text({{"0.7145", ProfileFileWriter::pulse(64, 20, 5)}}));
        auto* form = new ProfileForm(root, "periods", window);
        form->ui->pulsarName->setText("J0000+0000");
        desktop->calls.clear();
        return form;
    }
    QString stat(const QString& year, const QString& dm = "57", const QString& period = "0.7145") {
        return "st/sigma_dm" + dm + "_p" + period + "_" + year + ".txt";
    }
};

void TestProfileStats::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    root = dir->path() + "/N1/J0000+0000";
}

void TestProfileStats::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

void TestProfileStats::parse() {
    const auto rows = StatisticsFile::parse("2015.01.01;1;2;3;4;5\n"       // header, skipped
                                            "2015.01.02;1;0;3;4;0;extra\n" // more fields are fine
                                            "2015.01.02;9;0;9;9;0\n"       // the first row of a date wins
                                            "# 2015.01.03;1;0;3;4;0\n"     // not starting with 20
                                            "2015.01.04;1;0;3;4\n"         // five fields
                                            "2015.01.05;x;;;-7;\n");       // unparsable numbers read as 0
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.value("2015.01.02").sigma, 1.0);
    QCOMPARE(rows.value("2015.01.02").signal, 3.0);
    QCOMPARE(rows.value("2015.01.02").snr, 4.0);
    QCOMPARE(rows.value("2015.01.05").sigma, 0.0);
    QCOMPARE(rows.value("2015.01.05").snr, -7.0);
}

void TestProfileStats::days_data() {
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("shown"); // typed into the year box
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("ticks"); // first, second and last tick as "label=text"
    QTest::newRow("2014 starts in August")
        << QStringList{"2014"} << "2014" << 153
        << QStringList{"01.08.2014=08", "01.09.2014=09", "31.12.2014=31.12.2014"};
    QTest::newRow("2015") << QStringList{"2015"} << "2015" << 365
                          << QStringList{"01.01.2015=01.01.2015", "01.02.2015=02", "31.12.2015=31.12.2015"};
    QTest::newRow("2016 is a leap year")
        << QStringList{"2016"} << "2016" << 366
        << QStringList{"01.01.2016=01.01.2016", "01.02.2016=02", "31.12.2016=31.12.2016"};
    QTest::newRow("all over 2014 and 2015") << QStringList{"2014", "2015"} << "all" << 518
                                            << QStringList{"01.08.2014=", "01.09.2014=", "31.12.2015=2016"};
    QTest::newRow("all typed with one year") << QStringList{"2015"} << "all" << 0 << QStringList{};
}

void TestProfileStats::days() {
    QFETCH(QStringList, years);
    QFETCH(QString, shown);
    QFETCH(int, count);
    QFETCH(QStringList, ticks);
    for (const QString& y : years) {
        write(stat(y), yearFile(y));
    }
    QScopedPointer<ProfileForm> form(makeForm());
    QStringList expectedYears = years;
    if (years.size() >= 2) {
        expectedYears << "all";
    }
    QCOMPARE(QStringList(form->statYears.toList()), expectedYears);
    QCOMPARE(form->ui->comboBoxStatYear->currentText(), expectedYears.last());
    QVERIFY(!form->ui->groupBoxStatistic->isHidden());
    QVERIFY(form->ui->widgetStatistic->isHidden());

    form->ui->comboBoxStatYear->setCurrentText(shown);
    QVERIFY(form->redrawDataStat());
    QCOMPARE(form->statLabelsX.size(), count);
    QCOMPARE(form->statSigma.size(), count);
    QCOMPARE(form->statSnr.size(), count);
    QCOMPARE(form->statSignal.size(), count);
    QCOMPARE(form->statMarkerLabels.size(), form->statTicksX.size());
    if (count == 0) {
        QVERIFY(form->statTicksX.isEmpty());
        return;
    }
    auto text = [](const QPair<QString, QString>& t) { return t.first + "=" + t.second; };
    QCOMPARE(text(form->statTicksX[0]), ticks[0]);
    QCOMPARE(text(form->statTicksX[1]), ticks[1]);
    QCOMPARE(text(form->statTicksX.last()), ticks[2]);
    // The row of 5 March of every year shown.
    for (const QString& y : years) {
        const int i = form->statLabelsX.indexOf("05.03." + y);
        if (y == "2014") {
            QCOMPARE(i, -1);
            continue;
        }
        QCOMPARE(form->statSigma[i], 2.0);
        QCOMPARE(form->statSignal[i], 30.0);
        QCOMPARE(form->statSnr[i], 4.0);
    }
    if (shown == "all") {
        QVERIFY(form->statTicksX.contains({"01.01.2015", "2015"}));
        QVERIFY(!form->statTicksX.contains({"31.12.2014", "2015"}));
    }
}

void TestProfileStats::windows() {
    write(stat("2015"), "header\n2015.03.01;5000;0;1;1;0\n2015.03.02;-0.1;0;1;1;0\n2015.03.03;7;0;1;1;0\n");
    write(stat("2016"), yearFile("2016"));
    QScopedPointer<ProfileForm> form(makeForm());
    auto sigmaOn = [&](const QString& label) { return form->statSigma[form->statLabelsX.indexOf(label)]; };
    form->ui->comboBoxStatYear->setCurrentText("2015");
    QVERIFY(form->redrawDataStat());
    QCOMPARE(sigmaOn("01.03.2015"), 5000.0);
    QCOMPARE(sigmaOn("02.03.2015"), 0.0);
    QCOMPARE(sigmaOn("03.03.2015"), 7.0);
    form->ui->comboBoxStatYear->setCurrentText("all");
    QVERIFY(form->redrawDataStat());
    QCOMPARE(sigmaOn("01.03.2015"), 0.0);
    QCOMPARE(sigmaOn("02.03.2015"), 0.0);
    QCOMPARE(sigmaOn("03.03.2015"), 7.0);
    QCOMPARE(sigmaOn("05.03.2016"), 2.0);
}

void TestProfileStats::failuresKeepSeries_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("dm");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("text");
    QTest::newRow("year without file") << "2030"
                                       << "57"
                                       << "0.7145"
                                       << "Нет данных в массиве для 2030_57_0.7145";
    QTest::newRow("empty DM") << "2015"
                              << ""
                              << "0.7145"
                              << "Нет дисперсии для графика статистики!";
    QTest::newRow("empty period") << "2015"
                                  << ""
                                  << ""
                                  << "Нет периода для графика статистики!";
}

void TestProfileStats::failuresKeepSeries() {
    QFETCH(QString, year);
    QFETCH(QString, dm);
    QFETCH(QString, period);
    QFETCH(QString, text);
    write(stat("2015"), yearFile("2015"));
    write(stat("2016"), yearFile("2016"));
    QScopedPointer<ProfileForm> form(makeForm());
    const int tables = form->statTable.size();
    const QVector<QString> labels = form->statLabelsX;
    const QString view = form->view;
    QCOMPARE(labels.size(), 365 + 366);
    form->ui->comboBoxStatPeriod->setEditable(true);
    form->ui->comboBoxStatYear->blockSignals(true);
    form->ui->comboBoxStatDisp->blockSignals(true);
    form->ui->comboBoxStatPeriod->blockSignals(true);
    form->ui->comboBoxStatYear->setCurrentText(year);
    form->ui->comboBoxStatDisp->setCurrentText(dm);
    form->ui->comboBoxStatPeriod->setCurrentText(period);
    QTest::ignoreMessage(QtDebugMsg, "ERROR! redrawDataStat()");
    QVERIFY(!form->redrawGrafikStat());
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, text);
    QCOMPARE(form->statLabelsX, labels);
    QCOMPARE(form->statTable.size(), tables);
    QCOMPARE(form->view, view);
}

void TestProfileStats::graphAndPanel() {
    write(stat("2015"), yearFile("2015"));
    QScopedPointer<ProfileForm> form(makeForm());
    Ui::ProfileForm* ui = form->ui;
    ui->showSigma->setChecked(true);
    ui->showSnr->setChecked(false);
    ui->showVal->setChecked(true);
    ui->drawCircle->setChecked(true);
    ui->groupBoxCalculator->show();
    QVERIFY(form->drawGrafikStat());
    QVERIFY(ui->groupBoxCalculator->isHidden());
    QCOMPARE(form->view, QString("statistics"));
    ProfileGrafik* plot = form->profileGrafik;
    QCOMPARE(plot->grafikType, QString("statistics"));
    QCOMPARE(plot->caption8, QString("Sigma - Signal"));
    QCOMPARE(plot->visible, (QVector<bool>{true, false, true}));
    QCOMPARE(plot->colors, (QVector<QString>{"#0000FF", "#009900", "#FF0000"}));
    QCOMPARE(plot->nPoints, 365);
    QCOMPARE(plot->labelsX, form->statLabelsX);
    QCOMPARE(plot->radius, 4);
    QVERIFY(plot->drawCircles);
    QCOMPARE(plot->precisionY, 0);
    QCOMPARE(plot->mainWindow, window);
    QLayout* area = form->workLayout;
    QCOMPARE(area->count(), 3);
    QCOMPARE(area->itemAt(1)->widget(), plot);
    auto* info = qobject_cast<ProfileGrafikInfo*>(area->itemAt(2)->widget());
    QVERIFY(info);
    QCOMPARE(info->grafik, plot);
    QStringList legend;
    for (QWidget* row : info->findChildren<QWidget*>("legendRow")) {
        legend << row->findChild<QLabel*>()->text();
    }
    QCOMPARE(legend, (QStringList{"Sigma", "Signal"}));

    // The radius redraws only while circles are drawn.
    ui->radius->setValue(6);
    QCOMPARE(form->profileGrafik->radius, 6);
    QVERIFY(form->profileGrafik != plot);
    ui->drawCircle->setChecked(false);
    ProfileGrafik* before = form->profileGrafik;
    ui->radius->setValue(7);
    QCOMPARE(form->profileGrafik, before);
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileStats::nothingTickedOrMulti() {
    write(stat("2015"), yearFile("2015"));
    QScopedPointer<ProfileForm> form(makeForm());
    ProfileGrafik* before = form->profileGrafik;
    form->ui->showSigma->setChecked(false);
    form->ui->showSnr->setChecked(false);
    form->ui->showVal->setChecked(false);
    QVERIFY(form->drawGrafikStat());
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("Отметьте график, для которого нужно показать статистику!"));
    QCOMPARE(form->profileGrafik, before);

    form->ui->showSnr->setChecked(true);
    form->ui->drawMulti->setChecked(true);
    form->ui->groupBoxCalculator->show();
    QVERIFY(form->drawGrafikStat());
    QVERIFY(form->ui->groupBoxCalculator->isHidden());
    QCOMPARE(form->profileGrafik, before);
    QCOMPARE(desktop->boxes().size(), 1);
}

void TestProfileStats::arrows() {
    write(stat("2015", "57"), yearFile("2015"));
    write(stat("2016", "57"), yearFile("2016"));
    write(stat("2016", "58"), yearFile("2016"));
    QScopedPointer<ProfileForm> form(makeForm());
    Ui::ProfileForm* ui = form->ui;
    QCOMPARE(QStringList(form->statYears.toList()), (QStringList{"2015", "2016", "all"}));
    QCOMPARE(ui->comboBoxStatYear->currentText(), QString("all"));
    form->statYearNext(); // wraps from the last
    QCOMPARE(ui->comboBoxStatYear->currentText(), QString("2015"));
    QCOMPARE(form->view, QString("statistics"));
    QCOMPARE(form->statLabelsX.size(), 365);
    form->statYearPre(); // wraps from the first
    QCOMPARE(ui->comboBoxStatYear->currentText(), QString("all"));
    QCOMPARE(form->statLabelsX.size(), 731);
    form->statDispNext();
    QCOMPARE(ui->comboBoxStatDisp->currentText(), QString("58"));
    form->statDispNext();
    QCOMPARE(ui->comboBoxStatDisp->currentText(), QString("57"));
    QVERIFY(ui->statPeriodNext->isHidden() && ui->statPeriodPre->isHidden());
    QVERIFY(!ui->statDispNext->isHidden());
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileStats::oneDmHidesItsArrows() {
    write(stat("2015", "57", "0.7145"), yearFile("2015"));
    write(stat("2015", "57", "1.5"), yearFile("2015"));
    QScopedPointer<ProfileForm> form(makeForm());
    QVERIFY(form->ui->statDispNext->isHidden() && form->ui->statDispPre->isHidden());
    QVERIFY(!form->ui->statPeriodNext->isHidden());
}

void TestProfileStats::panelCoords() {
    ProfileGrafik plot("statistics", nullptr);
    ProfileGrafikInfo info(nullptr);
    info.grafik = &plot;
    info.grafikType = "statistics";
    info.createLayout();
    QCOMPARE(info.coordsLabel->text(), QString("Coords: click on graph area..."));
    QVERIFY(info.findChildren<QWidget*>("legendRow").isEmpty());
    plot.precisionX = 0;
    plot.precisionY = 0;
    emit plot.coordsChanged(QPointF(12.4, 3.2), QString());
    QCOMPARE(info.coordsLabel->text(), QString("X: 12  Y: 3"));
    plot.precisionX = 2;
    plot.precisionY = 1;
    info.setCoords(QPointF(12.4, 3.2), QString());
    QCOMPARE(info.coordsLabel->text(), QString("X: 12.40  Y: 3.2"));
    info.setCoords(QPointF(1, 1), "05.03.2015\nsigma=2");
    QCOMPARE(info.coordsLabel->text(), QString("05.03.2015\nsigma=2"));
}

void TestProfileStats::clickOnDay() {
    write(stat("2015"), yearFile("2015"));
    QScopedPointer<ProfileForm> form(makeForm());
    form->ui->comboBoxStatYear->setCurrentText("2015");
    QVERIFY(form->redrawDataStat());
    window->resize(1200, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        QVERIFY(form->drawGrafikStat());
        QPointer<ProfileGrafik> plot = form->profileGrafik;
        QTRY_VERIFY(plot->painted);
        // Day 64 of 2015 is 5 March, the date of the profile.
        const int x = (plot->xOfPoint(63) + plot->xOfPoint(64) + 1) / 2;
        const QPoint at = plot->mapTo(window, QPoint(x, plot->height() / 2));
        desktop->calls.clear();
        QTest::mousePress(window->windowHandle(), button, Qt::NoModifier, at);
        QTest::mouseRelease(window->windowHandle(), button, Qt::NoModifier, at);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(desktop->boxes().isEmpty());
        QCOMPARE(form->ui->comboBoxDate->currentText(), QString("2015.03.05"));
        if (button == Qt::LeftButton) {
            QVERIFY(!plot); // replaced by the profile of that date
            QCOMPARE(form->view, QString("one"));
            QCOMPARE(form->profileGrafik->date, QString("2015.03.05"));
        }
    }
}

void TestProfileStats::nearlyFlatNegativePaints() {
    QString text = "header\n";
    // Every day of the year, so no gap widens the range to 0.
    for (QDate d(2015, 1, 1); d.year() == 2015; d = d.addDays(1)) {
        text += d.toString("yyyy.MM.dd") + QString(";1;0;%1;1;0\n").arg(-1000 + 0.0009 * (d.day() == 15));
    }
    write(stat("2015"), text);
    QScopedPointer<ProfileForm> form(makeForm());
    form->ui->showSigma->setChecked(false);
    form->ui->showSnr->setChecked(false);
    form->ui->showVal->setChecked(true);
    QVERIFY(form->drawGrafikStat());
    ProfileGrafik* plot = form->profileGrafik;
    plot->resize(600, 400);
    plot->grab();
    QVERIFY(plot->painted);
    QVERIFY(plot->yMin < -999 && plot->yMax < 0);
    QVERIFY(plot->yAxis().labels.size() < 20);
}

QTEST_MAIN(TestProfileStats)
#include "tst_profilestats.moc"
