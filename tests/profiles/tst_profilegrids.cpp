#include "app/mainwindow.h"
#include "core/clicklable.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {
const QString day = QStringLiteral("2020.01.01");
const QString day2 = QStringLiteral("2020.02.02");

// A profile of eight points whose maximum is `max` at point 3.
QVector<double> peak(double max) {
    return {0, 0, 0, max, 0, 0, 0, 0};
}

// The texts of the best-profile group, each marked "link:" or "label:".
QStringList listed(ProfileForm& form) {
    QStringList out;
    QLayout* l = form.ui->layoutMaximums;
    for (int i = 0; i < l->count(); ++i) {
        const auto* label = qobject_cast<QLabel*>(l->itemAt(i)->widget());
        if (!label) {
            continue;
        }
        out << (qobject_cast<const ClickLable*>(label) ? "link:" : "label:") + label->text();
    }
    return out;
}

ClickLable* linkAt(ProfileForm& form, int i) {
    return qobject_cast<ClickLable*>(form.ui->layoutMaximums->itemAt(i)->widget());
}

// Counts paints of grid cells.
class PaintCounter : public QObject {
public:
    QSet<ProfileGrafik*> painted;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            auto* g = qobject_cast<ProfileGrafik*>(o);
            if (g && g->inGrid) {
                painted.insert(g);
            }
        }
        return false;
    }
};
} // namespace

class TestProfileGrids : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void periodsGrid();
    void smoothing_data();
    void smoothing();
    void shortLastRowIsScrolledTo();
    void failuresKeepScreen_data();
    void failuresKeepScreen();
    void snrGraph();
    void bestListOrder_data();
    void bestListOrder();
    void overallLinks_data();
    void overallLinks();
    void dateLinksAndLabels();
    void maximumsSelectorSwitchesLists();
    void sortSnrOrdersDates_data();
    void sortSnrOrdersDates();
    void thirdOverallLinkDrawsItsProfile();
    void dateLinkOutOfRangeDoesNothing();
    void rightPressOnOverallLinkUnderGrid();
    void scrollFromOneProfileDrawsGrid();
    void onlyVisibleCellsPaint();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    QString root;
    void put(const QString& dm, const QString& period, const QVector<double>& samples,
             const QString& date = day) {
        QVERIFY(ProfileFileWriter::write(root + "/" + ProfileFileWriter::fileName(date, dm, period, 1),
                                         {{period, samples}}));
    }
    // 3 DMs by 2 periods of one date: strongest at 0.7 and DM 30, the profile of 0.5 and DM 20 missing.
    void putThreeByTwo();
};

void TestProfileGrids::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    root = dir->path() + "/N1/J0000+00";
}

void TestProfileGrids::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

void TestProfileGrids::putThreeByTwo() {
    put("10", "0.5", peak(4));
    put("10", "0.7", peak(2));
    put("20", "0.7", peak(3));
    put("30", "0.5", peak(5));
    put("30", "0.7", peak(9));
}

void TestProfileGrids::periodsGrid() {
    putThreeByTwo();
    ProfileForm form(root, "periods", window);
    QCOMPARE(form.view, QString("multi"));
    MultiGrafik* grid = form.multiGrafik;
    QVERIFY(grid);
    QCOMPARE(window->centralWidget()->layout()->itemAt(1)->widget(), grid);
    QCOMPARE(grid->columnTitles, (QVector<QString>{"period", "DM=10", "DM=20", "DM=30"}));
    QCOMPARE(grid->rowTitles, (QVector<QString>{"DM", "0.5", "0.7"}));
    bool corner = false;
    for (const QLabel* l : grid->findChildren<QLabel*>()) {
        corner = corner || l->text() == "period / DM";
    }
    QVERIFY(corner);
    QCOMPARE(form.bestRow, 1);
    QCOMPARE(form.bestCol, 2);
    QVERIFY(!grid->grafiks[0][1]);
    QStringList tints;
    for (const auto& row : grid->grafiks) {
        for (QWidget* w : row) {
            tints << (w ? static_cast<ProfileGrafik*>(w)->background : QString("-"));
        }
    }
    // Five listed profiles of the date show all four tints, by strength.
    QCOMPARE(tints, (QStringList{"#defbdd", "-", "#c8fcc7", "#f0fbef", "#f0fbef", "#fdcedb"}));
    auto* best = static_cast<ProfileGrafik*>(grid->grafiks[1][2]);
    QVERIFY(best->inGrid && !best->hintShown);
    QCOMPARE(best->caption2, QString("p=0.7"));
    QCOMPARE(best->caption3, QString("dm=30"));
    QCOMPARE(best->markers, QVector<int>{4});
    QCOMPARE(form.profileGrafik.data(), best); // the last cell made
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileGrids::smoothing_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("smoothed");
    QTest::newRow("periods") << "periods" << true;
    QTest::newRow("dispersions") << "dispersions" << false;
}

void TestProfileGrids::smoothing() {
    QFETCH(QString, mode);
    QFETCH(bool, smoothed);
    put("10", "0.5", peak(8));
    ProfileForm form(root, mode, window);
    form.ui->showMax->setChecked(true);
    form.ui->average->setValue(2);
    QVERIFY(form.drawGrafikMulti());
    auto* cell = static_cast<ProfileGrafik*>(form.multiGrafik->grafiks[0][0]);
    const QVector<double> smooth = Tools::smoothRepeated(peak(8), 2);
    QCOMPARE(cell->arrGrafikY.first(), Tools::centerMaximum(smoothed ? smooth : peak(8)));
    QCOMPARE(cell->caption4,
             smoothed ? "max=" + QString::number(Tools::maxValue(smooth), 'f', 1) : QString("max=8"));
    QCOMPARE(cell->caption5, QString("num=3"));
    // The range is the stored one either way (widened by the plot's redraw).
    QCOMPARE(cell->yMax, 8.4);
    QCOMPARE(cell->yMin, 0.0);
}

void TestProfileGrids::shortLastRowIsScrolledTo() {
    // Two-digit DMs, so the scan order is the numeric order.
    for (int i = 1; i <= 12; ++i) {
        put(QString::number(10 + i), "0.5", peak(i == 12 ? 50 : i));
    }
    window->resize(500, 400);
    window->show();
    ProfileForm form(root, "dispersions", window);
    QCOMPARE(form.multiGrafik->rows, 3);
    QCOMPARE(form.multiGrafik->grafiks.last().size(), 2);
    QCOMPARE(form.bestRow, 2);
    QCOMPARE(form.bestCol, 1);
    QWidget* best = form.multiGrafik->grafiks[2][1];
    QCOMPARE(static_cast<ProfileGrafik*>(best)->caption3, QString("dm=22"));
    QTRY_VERIFY(form.multiGrafik->scrollArea->verticalScrollBar()->value() > 0);
    QVERIFY(!best->visibleRegion().isEmpty());
}

void TestProfileGrids::failuresKeepScreen_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<QString>("text");
    QTest::newRow("periods, no date") << "periods"
                                      << "multi"
                                      << "date"
                                      << "Выберите дату!";
    QTest::newRow("periods, no periods") << "periods"
                                         << "multi"
                                         << "periods"
                                         << "Нет ни одного периода!";
    QTest::newRow("periods, no DMs") << "periods"
                                     << "multi"
                                     << "dms"
                                     << "Нет ни одной дисперсии!";
    QTest::newRow("dispersions, no date") << "dispersions"
                                          << "multi"
                                          << "date"
                                          << "Выберите дату!";
    QTest::newRow("dispersions, no period") << "dispersions"
                                            << "multi"
                                            << "period"
                                            << "Выберите период!";
    QTest::newRow("dispersions, no periods") << "dispersions"
                                             << "multi"
                                             << "periods"
                                             << "Нет посчитанных периодов!";
    QTest::newRow("dispersions, no DMs") << "dispersions"
                                         << "multi"
                                         << "dms"
                                         << "Нет посчитанных дисперсий!";
    QTest::newRow("S/N, no date") << "dispersions"
                                  << "disp"
                                  << "date"
                                  << "Выберите дату!";
    QTest::newRow("S/N, no period") << "dispersions"
                                    << "disp"
                                    << "period"
                                    << "Выберите период!";
    QTest::newRow("S/N, no DMs") << "dispersions"
                                 << "disp"
                                 << "dms"
                                 << "Нет списка дисперсий!";
    QTest::newRow("S/N, point 0") << "dispersions"
                                  << "disp"
                                  << "point"
                                  << "Выберите номер точки!";
}

void TestProfileGrids::failuresKeepScreen() {
    QFETCH(QString, mode);
    QFETCH(QString, slot);
    QFETCH(QString, emptied);
    QFETCH(QString, text);
    put("10", "0.5", peak(4));
    ProfileForm form(root, mode, window);
    QCOMPARE(form.view, QString("multi"));
    const QPointer<QWidget> shown = window->centralWidget()->layout()->itemAt(1)->widget();
    if (emptied == "date") {
        form.ui->comboBoxDate->clear();
    } else if (emptied == "period") {
        form.ui->comboBoxPeriod->clear();
    } else if (emptied == "periods") {
        form.dmPeriods.clear();
    } else if (emptied == "dms") {
        form.dateDms.clear();
    } else {
        form.ui->harmonic->setValue(0);
    }
    desktop->calls.clear();
    QVERIFY(!(slot == "multi" ? form.drawGrafikMulti() : form.drawGrafikDisp()));
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].kind, QString("warning"));
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(desktop->boxes()[0].text, text);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown);
    QCOMPARE(window->centralWidget()->layout()->itemAt(1)->widget(), shown.data());
    QCOMPARE(form.view, QString("multi"));
}

void TestProfileGrids::snrGraph() {
    const QVector<double> eightPoints{0, 0, 0, 0, 0, 0, 0, 0};
    auto at3 = [&](double v) {
        QVector<double> p = eightPoints;
        p[3] = v;
        return p;
    };
    // Scanned with the numbers in names compared as numbers: 0, 2, 10, 11, 100.
    put("0", "0.5", at3(5));
    put("10", "0.5", at3(9));
    put("100", "0.5", at3(2));
    put("11", "0.5", at3(9));
    put("2", "0.5", {0, 0, 40});
    ProfileForm form(root, "dispersions", window);
    QCOMPARE(form.dateDms, (QVector<QString>{"0", "2", "10", "11", "100"}));
    form.ui->pulsarName->setText("J0000+00");
    form.ui->showMax->setChecked(true);
    form.ui->harmonic->setValue(3);
    QVERIFY(form.drawGrafikDisp());
    QCOMPARE(form.view, QString("disp"));
    ProfileGrafik* plot = form.profileGrafik;
    QCOMPARE(window->centralWidget()->layout()->itemAt(1)->widget(), plot);
    QCOMPARE(plot->arrGrafikX, (QVector<double>{0, 10, 11, 100}));
    QCOMPARE(plot->arrGrafikY.first(), (QVector<double>{5, 9, 9, 2}));
    QCOMPARE(plot->nPoints, 4);
    QCOMPARE(plot->caption8, QString("S/N from DM"));
    QCOMPARE(plot->caption2, QString("max: DM=10"));
    QCOMPARE(plot->caption3, QString("S/N=9.0"));
    QCOMPARE(plot->markers, QVector<int>{10});
    QCOMPARE(plot->yMax, 9.35); // the best value, widened by the redraw
    QCOMPARE(plot->yMin, 1.6325);
    QCOMPARE(form.bestRow, 0);

    // The curve ends at the first DM, ascending, that reaches the limit.
    form.ui->showMaxDisp->setText("11");
    QVERIFY(form.drawGrafikDisp());
    QCOMPARE(form.profileGrafik->nPoints, 3);

    // The print variant has no marker.
    form.ui->groupBoxForPrint->setChecked(true);
    form.ui->forPrintShowMax->setChecked(false);
    QVERIFY(form.drawGrafikDisp());
    QVERIFY(form.profileGrafik->forPrint);
    QVERIFY(form.profileGrafik->markers.isEmpty());
    QCOMPARE(form.profileGrafik->caption3, QString());

    // No DM with a point 7: an empty plot.
    form.ui->harmonic->setMaximum(100);
    form.ui->harmonic->setValue(8);
    QVERIFY(form.drawGrafikDisp());
    QVERIFY(form.profileGrafik->arrGrafikX.isEmpty());
    QCOMPARE(form.profileGrafik->caption2, QString("max: DM=-1"));
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileGrids::bestListOrder_data() {
    QTest::addColumn<QVector<double>>("maxima"); // of DMs 10, 20, 30, ...
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("ordinary") << QVector<double>{5.5, 12.25, 7}
                              << QStringList{"00001225_2020.01.01_20_0.5", "00000700_2020.01.01_30_0.5",
                                             "00000550_2020.01.01_10_0.5"};
    QTest::newRow("a million above all smaller")
        << QVector<double>{999999.99, 1000000, 5}
        << QStringList{"100000000_2020.01.01_20_0.5", "99999999_2020.01.01_10_0.5",
                       "00000500_2020.01.01_30_0.5"};
    QTest::newRow("negative") << QVector<double>{-5, -0.5}
                              << QStringList{"-0000050_2020.01.01_20_0.5", "-0000500_2020.01.01_10_0.5"};
    QTest::newRow("clamped, equal codes by key")
        << QVector<double>{3e7, 21474836.47, 1}
        << QStringList{"2147483647_2020.01.01_20_0.5", "2147483647_2020.01.01_10_0.5",
                       "00000100_2020.01.01_30_0.5"};
}

void TestProfileGrids::bestListOrder() {
    QFETCH(QVector<double>, maxima);
    QFETCH(QStringList, entries);
    for (int i = 0; i < maxima.size(); ++i) {
        put(QString::number(10 * (i + 1)), "0.5", {std::min(0.0, maxima[i]) - 1, maxima[i]});
    }
    ProfileForm form(root, "dispersions", window);
    QCOMPARE(form.bestList, entries);
    QCOMPARE(form.bestByDate.value(day), entries);
    QCOMPARE(form.bestFiveByDate.value(day).first(), entries.first().section('_', 1));
}

void TestProfileGrids::overallLinks_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("3") << 3
                       << QStringList{"link:0.03   p=0.5   disp=30   2020.01.01\n",
                                      "link:0.02   p=0.5   disp=20   2020.01.01\n",
                                      "link:0.01   p=0.5   disp=10   2020.01.01\n"};
    QTest::newRow("12") << 12
                        << QStringList{"link:0.12   p=0.5   disp=120   2020.01.01\n",
                                       "link:0.11   p=0.5   disp=110   2020.01.01\n",
                                       "link:0.10   p=0.5   disp=100   2020.01.01\n",
                                       "link:0.09   p=0.5   disp=90   2020.01.01\n",
                                       "link:0.08   p=0.5   disp=80   2020.01.01\n"};
}

void TestProfileGrids::overallLinks() {
    QFETCH(int, count);
    QFETCH(QStringList, links);
    for (int i = 1; i <= count; ++i) {
        put(QString::number(10 * i), "0.5", {0, i / 100.0 + 0.001});
    }
    ProfileForm form(root, "dispersions", window);
    form.ui->comboBoxMaximums->setCurrentIndex(0);
    QCOMPARE(listed(form), links);
    QCOMPARE(linkAt(form, 1)->index(), 1);
}

void TestProfileGrids::dateLinksAndLabels() {
    put("10", "0.5", {0, 0.29}); // 28.999... hundredths: the code keeps 28
    put("20", "0.5", {0, 3});
    put("10", "0.5", {0, 1}, day2);
    ProfileForm form(root, "dispersions", window);
    form.showBestProfilesForDate(day);
    QCOMPARE(listed(form), (QStringList{"link:3.00   p=0.5   disp=20   2020.01.01\n",
                                        "link:0.28   p=0.5   disp=10   2020.01.01\n"}));
    form.showBestProfilesForDate(QString());
    QCOMPARE(listed(form), QStringList{"label:Выберите дату"});
    form.showBestProfilesForDate("2031.01.01");
    QCOMPARE(listed(form), QStringList{"label:Нет данных для 2031.01.01"});
    form.bestList.clear();
    form.showBestProfilesAll();
    QCOMPARE(listed(form), QStringList{"label:Нет данных в выбранной директории"});
}

void TestProfileGrids::maximumsSelectorSwitchesLists() {
    put("10", "0.5", {0, 2});
    put("20", "0.5", {0, 1}, day2);
    ProfileForm form(root, "dispersions", window);
    // The grid the form starts on switched to the date's list.
    QCOMPARE(form.ui->comboBoxMaximums->currentIndex(), 1);
    QVERIFY(form.bestForDate);
    QCOMPARE(listed(form), QStringList{"link:2.00   p=0.5   disp=10   2020.01.01\n"});
    form.ui->comboBoxMaximums->setCurrentIndex(0);
    QVERIFY(!form.bestForDate);
    QCOMPARE(listed(form).size(), 2);
    // Any grid switches back.
    QVERIFY(form.drawGrafikMulti());
    QCOMPARE(form.ui->comboBoxMaximums->currentIndex(), 1);
    QVERIFY(form.bestForDate);
    QCOMPARE(listed(form).size(), 1);
}

void TestProfileGrids::sortSnrOrdersDates_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("first");
    QTest::newRow("ticked") << true << day2;
    QTest::newRow("unticked") << false << day;
}

void TestProfileGrids::sortSnrOrdersDates() {
    QFETCH(bool, ticked);
    QFETCH(QString, first);
    // Scanned by path: a/ (the weaker date) before b/.
    QVERIFY(ProfileFileWriter::write(root + "/a/" + ProfileFileWriter::fileName(day, "10", "0.5", 1),
                                     {{"0.5", peak(2)}}));
    QVERIFY(ProfileFileWriter::write(root + "/b/" + ProfileFileWriter::fileName(day2, "10", "0.5", 1),
                                     {{"0.5", peak(7)}}));
    ProfileForm form(root, "dispersions", window);
    form.ui->sortSnr->setChecked(ticked);
    form.sortSnr();
    QCOMPARE(form.ui->comboBoxDate->count(), 2);
    QCOMPARE(form.ui->comboBoxDate->currentIndex(), 0);
    QCOMPARE(form.ui->comboBoxDate->currentText(), first);
    QCOMPARE(form.dateDms, QVector<QString>{"10"});
}

void TestProfileGrids::thirdOverallLinkDrawsItsProfile() {
    put("10", "0.5", peak(9), day2);
    put("10", "0.7", peak(8));
    put("20", "0.5", peak(7));
    put("20", "0.7", peak(6));
    ProfileForm form(root, "dispersions", window);
    QVERIFY(form.ui->sortSnr->isChecked());
    form.ui->comboBoxMaximums->setCurrentIndex(0);
    emit linkAt(form, 2)->clicked();
    QCOMPARE(form.linkIndex, 2);
    QCOMPARE(form.ui->comboBoxDate->currentText(), day);
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("20"));
    QCOMPARE(form.ui->comboBoxPeriod->currentText(), QString("0.5"));
    QCOMPARE(form.view, QString("one"));
    QCOMPARE(form.profileGrafik->arrGrafikY.first(), Tools::centerMaximum(peak(7)));
}

void TestProfileGrids::dateLinkOutOfRangeDoesNothing() {
    put("10", "0.5", peak(9));
    put("20", "0.5", peak(8));
    put("30", "0.5", peak(7));
    put("10", "0.5", peak(1), day2);
    ProfileForm form(root, "dispersions", window);
    QCOMPARE(form.ui->comboBoxDate->currentText(), day);
    QPointer<ClickLable> third = linkAt(form, 2);
    QVERIFY(third);
    form.ui->comboBoxDate->setCurrentText(day2);
    QVERIFY(third); // removed later, still pressable now
    desktop->calls.clear();
    const QString viewBefore = form.view;
    emit third->clicked();
    QCOMPARE(form.linkIndex, 2);
    QCOMPARE(form.view, viewBefore);
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("10"));
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileGrids::rightPressOnOverallLinkUnderGrid() {
    put("10", "0.5", peak(9), day2);
    put("10", "0.7", peak(8));
    put("20", "0.5", peak(7));
    window->resize(1400, 1200);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    ProfileForm form(root, "dispersions", window);
    form.ui->comboBoxMaximums->setCurrentIndex(0);
    QCOMPARE(form.view, QString("multi"));
    QPointer<ClickLable> link = linkAt(form, 2);
    QVERIFY(link);
    QTRY_VERIFY(link->isVisible());
    QTest::mousePress(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      link->mapTo(window, link->rect().center()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!link);
    QCOMPARE(form.view, QString("one"));
    QCOMPARE(form.ui->comboBoxDate->currentText(), day);
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("20"));
    QVERIFY(form.bestForDate);
    QCOMPARE(listed(form).size(), 2);
    QVERIFY(listed(form).first().startsWith("link:8.00"));
}

void TestProfileGrids::scrollFromOneProfileDrawsGrid() {
    for (int i = 1; i <= 30; ++i) {
        put(QString::number(10 + i), "0.5", peak(i));
    }
    window->resize(500, 400);
    window->show();
    ProfileForm form(root, "dispersions", window);
    QVERIFY(form.drawGrafikOne());
    QCOMPARE(form.view, QString("one"));
    QTest::mouseClick(form.ui->scroll, Qt::LeftButton);
    QCOMPARE(form.view, QString("multi"));
    QCOMPARE(form.bestRow, 5);
    QCOMPARE(form.bestCol, 4);
    QWidget* best = form.multiGrafik->grafiks[5][4];
    QTRY_VERIFY(!best->visibleRegion().isEmpty());
}

void TestProfileGrids::onlyVisibleCellsPaint() {
    for (int i = 1; i <= 10; ++i) {
        for (int j = 1; j <= 10; ++j) {
            put(QString::number(i * 10), QString("0.%1").arg(j), peak(i + j));
        }
    }
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    window->resize(600, 500);
    window->show();
    ProfileForm form(root, "periods", window);
    QCOMPARE(form.multiGrafik->rows, 10);
    QTRY_VERIFY(!counter.painted.isEmpty());
    QTest::qWait(100);
    qApp->removeEventFilter(&counter);
    QVERIFY(counter.painted.size() < 100);
    for (ProfileGrafik* g : qAsConst(counter.painted)) {
        QVERIFY(!g->visibleRegion().isEmpty());
    }
}

QTEST_MAIN(TestProfileGrids)
#include "tst_profilegrids.moc"
