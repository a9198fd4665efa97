#include "app/mainwindow.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "native/searchnativeform.h"
#include "native/searchnativegrafik.h"
#include "native/searchnativemultigrafik.h"
#include "support/findchild.h"
#include "support/gridwatch.h"
#include "support/recordingdesktop.h"
#include "support/searchresultwriter.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <memory>

namespace {

using Blocks = QVector<SearchResultWriter::Block>;

QList<QWidget*> workArea() {
    QList<QWidget*> widgets;
    QLayout* layout = WorkArea::widget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        widgets << layout->itemAt(i)->widget();
    }
    return widgets;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QVector<double> ramp(int n, double from = 1) {
    QVector<double> v;
    for (int i = 0; i < n; ++i) {
        v << from + i;
    }
    return v;
}

QStringList texts(const QVector<QString>& v) {
    return QStringList(v.toList());
}

QStringList labelTexts(QWidget* grid) {
    QStringList out;
    for (QLabel* l : grid->findChildren<QLabel*>()) {
        out << l->text();
    }
    return out;
}

} // namespace

class TestSearchNativeForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void scanOrderAndSkippedPaths();
    void laterFileOfDateKeepsOrReplacesRange();
    void unreadableFileIsReportedAndSkipped();
    void readsWithoutProgressBar();
    void threadedReadingEqualsSerial_data();
    void threadedReadingEqualsSerial();
    void refusedTreeLeavesWorkArea_data();
    void refusedTreeLeavesWorkArea();
    void startState();
    void oneDateOneDmHidesArrows();
    void gridCellsAndCaptions();
    void cellSize_data();
    void cellSize();
    void dateArrowsRebuildAndScroll();
    void dmArrowsInGridOnlyMoveSelector();
    void oneGraphAndItsArrows();
    void noDmAtAll();

private:
    SearchNativeForm* open(const QString& path);
    template <typename T> T* child(const QString& name) { return findChildOrStop<T>(form, name); }
    SearchNativeMultiGrafik* grid() const {
        return qobject_cast<SearchNativeMultiGrafik*>(workArea().value(1));
    }
    SearchNativeGrafik* plot() const { return qobject_cast<SearchNativeGrafik*>(workArea().value(1)); }
    // A tree of three dates (in path order 2024.03.01, 2024.01.02, 2024.02.03) by DMs 10, 20, 30.
    QString threeDates();

    QTemporaryDir dir;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    QPointer<SearchNativeForm> form;
    int treeNumber = 0;
};

void TestSearchNativeForm::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
    window = new MainWindow;
    window->resize(900, 500);
    window->show();
}

void TestSearchNativeForm::cleanupTestCase() {
    delete window;
    flushDeletes();
}

void TestSearchNativeForm::init() {
    desktop.reset(new RecordingDesktop);
    WorkArea::install({new QLabel("previous")});
}

void TestSearchNativeForm::cleanup() {
    WorkArea::clear();
    delete form; // a refused form is never laid out
    flushDeletes();
    desktop.reset();
}

SearchNativeForm* TestSearchNativeForm::open(const QString& path) {
    form = new SearchNativeForm(path, "native", window);
    return form;
}

QString TestSearchNativeForm::threeDates() {
    const QString root = dir.filePath(QString("three%1").arg(++treeNumber));
    const Blocks all{{"10", ramp(4)}, {"20", ramp(4, 2)}, {"30", ramp(4, 3)}};
    SearchResultWriter::write(root + "/a/2024.03.01_r.txt", all);
    SearchResultWriter::write(root + "/b/2024.01.02_r.txt", all);
    SearchResultWriter::write(root + "/c/2024.02.03_r.txt", all);
    return root;
}

void TestSearchNativeForm::scanOrderAndSkippedPaths() {
    const QString root = dir.filePath("order");
    QVERIFY(SearchResultWriter::write(root + "/b/2024.01.02_x.txt", Blocks{{"20", {1}}, {"10", {2}}}));
    QVERIFY(SearchResultWriter::write(root + "/a/2024.01.03_y.txt", Blocks{{"10", {3}}, {"30", {4}}}));
    // The date of a directory name, with its dashes, counts for every file below it.
    QVERIFY(SearchResultWriter::write(root + "/2024-01-05_run/data.txt", Blocks{{"40", {5}}}));
    QVERIFY(SearchResultWriter::write(root + "/.2024.01.09_hidden.txt", Blocks{{"90", {9}}}));
    QVERIFY(SearchResultWriter::write(root + "/notes.txt", Blocks{{"80", {8}}}));
    const QString outside = dir.filePath("outside");
    QVERIFY(SearchResultWriter::write(outside + "/2024.01.07_linked.txt", Blocks{{"70", {7}}}));
    QVERIFY(QFile::link(outside, root + "/link"));

    open(root);
    QVERIFY(form->isVisible());
    QCOMPARE(texts(form->dates), (QStringList{"2024-01-05", "2024.01.03", "2024.01.02"}));
    QCOMPARE(texts(form->dispersions), (QStringList{"40", "10", "30", "20"}));
    QCOMPARE(form->series.value("2024.01.02_10"), QVector<double>{2});
    QCOMPARE(form->series.size(), 5);
    QCOMPARE(child<QComboBox>("comboBoxDate")->count(), 3);
    QCOMPARE(child<QComboBox>("comboBoxDate")->itemText(0), QString("2024-01-05"));
    QCOMPARE(child<QComboBox>("comboBoxDispersion")->itemText(3), QString("20"));
    QVERIFY(desktop->boxes().isEmpty());
}

void TestSearchNativeForm::laterFileOfDateKeepsOrReplacesRange() {
    const QString root = dir.filePath("ranges");
    // Files of one date are read in path order: _a before _b.
    QVERIFY(SearchResultWriter::write(root + "/2024.01.01_a.txt", Blocks{{"10", {1, 9}}}));
    QVERIFY(SearchResultWriter::write(root + "/2024.01.01_b.txt", QByteArray("sigma=3\nsigma=4\n")));
    QVERIFY(SearchResultWriter::write(root + "/2024.01.02_a.txt", Blocks{{"10", {1, 9}}, {"20", {5}}}));
    QVERIFY(SearchResultWriter::write(root + "/2024.01.02_b.txt", Blocks{{"10", {2, 3}}}));
    QVERIFY(SearchResultWriter::write(root + "/2024.01.03_a.txt", QByteArray("disp=10\n")));

    open(root);
    QCOMPARE(form->dateMaxMin.value("2024.01.01"), qMakePair(9.0, 1.0));
    QCOMPARE(form->dateMaxMin.value("2024.01.02"), qMakePair(3.0, 2.0));
    QCOMPARE(form->series.value("2024.01.02_10"), (QVector<double>{2, 3}));
    QCOMPARE(form->series.value("2024.01.02_20"), QVector<double>{5});
    QVERIFY(!form->dateMaxMin.contains("2024.01.03"));
    QCOMPARE(texts(form->dates), (QStringList{"2024.01.01", "2024.01.02", "2024.01.03"}));
}

void TestSearchNativeForm::unreadableFileIsReportedAndSkipped() {
    const QString root = dir.filePath("unreadable");
    QVERIFY(SearchResultWriter::write(root + "/2024.01.01_a.txt", Blocks{{"10", {1, 2}}}));
    open(root);
    const QString missing = root + "/2024.01.02_gone.txt";
    form->readResultFile(missing, "2024.01.02");
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(desktop->boxes()[0].text, "Can't open file=" + missing);
    QCOMPARE(form->series.size(), 1);
    QVERIFY(!form->dateMaxMin.contains("2024.01.02"));
}

void TestSearchNativeForm::readsWithoutProgressBar() {
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    Settings::getInstance()->setProgressBar(nullptr);
    const QString root = dir.filePath("nobar");
    for (int i = 0; i < 12; ++i) {
        SearchResultWriter::write(root + QString("/2024.01.%1_a.txt").arg(i + 10), Blocks{{"10", {1, 2}}});
    }
    open(root);
    Settings::getInstance()->setProgressBar(bar);
    QCOMPARE(form->dates.size(), 12);
    QCOMPARE(form->viewName, QString("multi"));
}

void TestSearchNativeForm::threadedReadingEqualsSerial_data() {
    QTest::addColumn<int>("threads");
    QTest::newRow("2 threads") << 2;
    QTest::newRow("8 threads") << 8;
}

// Files whose order decides the tables: several files of one date (the later one replaces series and
// range, or keeps the range when it has no numbers), DMs first named in different files, undated and
// other files between them. Read on the calling thread alone (a pool of one) and on several, the tables
// and the selectors must come out the same.
void TestSearchNativeForm::threadedReadingEqualsSerial() {
    QFETCH(int, threads);
    const QString root = dir.filePath(QString("threads%1").arg(threads));
    unsigned state = 5;
    const auto next = [&state](unsigned range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 16) % range;
    };
    for (int f = 0; f < 120; ++f) {
        const QString date =
            QString("2024.%1.%2").arg(1 + f % 4, 2, 10, QChar('0')).arg(1 + f % 13, 2, 10, QChar('0'));
        Blocks blocks;
        for (int m = 0; m < 4; ++m) {
            blocks.append({QString::number(next(12) * 5), ramp(1 + int(next(6)), next(50))});
        }
        const QString path = QString("%1/g%2/%3_f%4.txt").arg(root).arg(f % 5).arg(date).arg(f);
        QVERIFY(SearchResultWriter::write(path, f % 17 == 0 ? QByteArray("sigma=1\n")
                                                            : SearchResultWriter::text(blocks)));
        if (f % 9 == 0) {
            QVERIFY(
                SearchResultWriter::write(QString("%1/g%2/notes%3.txt").arg(root).arg(f % 5).arg(f), blocks));
        }
    }
    QThreadPool* pool = QThreadPool::globalInstance();
    const int poolSize = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    QPointer<SearchNativeForm> serial = open(root);
    pool->setMaxThreadCount(threads);
    auto* threaded = new SearchNativeForm(root, "native", window);
    pool->setMaxThreadCount(poolSize);

    QCOMPARE(serial->dates.size(), 52);
    QCOMPARE(threaded->dates, serial->dates);
    QCOMPARE(threaded->dispersions, serial->dispersions);
    QCOMPARE(threaded->series, serial->series);
    QCOMPARE(threaded->dateMaxMin, serial->dateMaxMin);
    for (const char* name : {"comboBoxDate", "comboBoxDispersion"}) {
        QCOMPARE(findChildOrStop<QComboBox>(threaded, name)->currentText(),
                 child<QComboBox>(name)->currentText());
    }
    QVERIFY(desktop->boxes().isEmpty());
    delete serial; // the threaded form holds the work area now
}

void TestSearchNativeForm::refusedTreeLeavesWorkArea_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("barUsed");
    const QString undated = dir.filePath("undated");
    SearchResultWriter::write(undated + "/notes.txt", Blocks{{"10", {1}}});
    SearchResultWriter::write(undated + "/2024.01.01.txt", Blocks{{"10", {1}}}); // no "_" after the date
    QTest::newRow("no dated file") << undated << "В этой директории ничего не найдено" << true;
    const QString absent = dir.filePath("absent");
    QTest::newRow("missing directory") << absent << absent + " does not exist!" << false;
}

void TestSearchNativeForm::refusedTreeLeavesWorkArea() {
    QFETCH(QString, path);
    QFETCH(QString, box);
    QFETCH(bool, barUsed);
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    bar->hide();
    QPointer<QWidget> previous = workArea().value(0);
    QTest::ignoreMessage(QtDebugMsg, "readDir false!");
    open(path);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(desktop->boxes()[0].text, box);
    QCOMPARE(workArea(), QList<QWidget*>{previous.data()});
    QVERIFY(!form->isVisible());
    // Hidden after an empty tree too: a bar left at 100 looks like a hang.
    QVERIFY(!bar->isVisible());
    if (barUsed) {
        QCOMPARE(bar->value(), 100);
    }
    // Nothing is connected: the buttons of a refused form do nothing.
    child<QPushButton>("drawGrafikMulti")->click();
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(form->viewName, QString(""));
    bar->hide();
}

void TestSearchNativeForm::startState() {
    open(threeDates());
    QCOMPARE(workArea(), (QList<QWidget*>{form.data(), form->multiGrafik}));
    QCOMPARE(form->workLayout, WorkArea::widget()->layout());
    QCOMPARE(form->viewName, QString("multi"));
    QVERIFY(!Settings::getInstance()->getProgressBar()->isVisible());
    QCOMPARE(Settings::getInstance()->getSearchGrafikMulti(), form->multiGrafik);
    for (const char* name : {"labelPlosh", "comboBoxPlosh", "labelTres", "comboBoxTres"}) {
        QVERIFY2(child<QWidget>(name)->isHidden(), name);
    }
    for (const char* name : {"dateNext", "datePre", "dispNext", "dispPre", "label_4", "comboBoxDate"}) {
        QVERIFY2(!child<QWidget>(name)->isHidden(), name);
    }
    QCOMPARE(child<QComboBox>("comboBoxDate")->currentText(), QString("2024.03.01"));
    QCOMPARE(child<QComboBox>("comboBoxDispersion")->currentText(), QString("10"));
    QVERIFY(child<QLabel>("dirName")->text().endsWith("/three" + QString::number(treeNumber)));
    QVERIFY(form->width() >= 320); // the panel's floor, wider where its widgets need more
}

void TestSearchNativeForm::oneDateOneDmHidesArrows() {
    const QString root = dir.filePath("single");
    QVERIFY(SearchResultWriter::write(root + "/2024.01.01_a.txt", Blocks{{"10", {1, 2}}}));
    open(root);
    for (const char* name : {"dateNext", "datePre", "dispNext", "dispPre"}) {
        QVERIFY2(child<QWidget>(name)->isHidden(), name);
    }
}

void TestSearchNativeForm::gridCellsAndCaptions() {
    const QString root = dir.filePath("grid");
    QVERIFY(
        SearchResultWriter::write(root + "/2024.01.01_a.txt", Blocks{{"10", ramp(10)}, {"20", {2, 5, 1}}}));
    QVERIFY(SearchResultWriter::write(root + "/2024.01.02_a.txt", Blocks{{"10", {-1, 1}}}));
    open(root);
    SearchNativeMultiGrafik* g = grid();
    QVERIFY(g);
    QCOMPARE(texts(g->columnTitles), (QStringList{" ", "DM=10", "DM=20"}));
    QCOMPARE(texts(g->rowTitles), (QStringList{" ", "2024.01.01", "2024.01.02"}));
    QCOMPARE(g->columns, 2);
    QCOMPARE(g->rows, 2);
    QCOMPARE(g->grafiks.size(), 2);
    QCOMPARE(g->grafiks[1].size(), 2);
    QVERIFY(!g->grafiks[1][1]);

    auto* ten = qobject_cast<SearchNativeGrafik*>(g->grafiks[0][0]);
    auto* three = qobject_cast<SearchNativeGrafik*>(g->grafiks[0][1]);
    QVERIFY(ten && three);
    QCOMPARE(texts(ten->labelsBottom), (QStringList{"0", "2", "4", "6", " "}));
    QCOMPARE(texts(three->labelsBottom), (QStringList{"0", "0", "0", "0", " "}));
    for (SearchNativeGrafik* cell : {ten, three}) {
        QCOMPARE(cell->grafikType, QString(""));
        QVERIFY(cell->inGrid);
        QVERIFY(cell->fixedYRange);
        QVERIFY(!cell->hintShown);
        QCOMPARE(cell->caption1, QString("max=10.00"));
        // The date's range 1 .. 10, widened once by redraw.
        QCOMPARE(cell->yMax, 10.45);
        QCOMPARE(cell->yMin, 1 - (10.45 - 1) / 20);
        QVERIFY(cell->colors.isEmpty());
    }
    QCOMPARE(ten->nPoints, 10);
    QCOMPARE(qobject_cast<SearchNativeGrafik*>(g->grafiks[1][0])->caption1, QString("max=1.00"));

    const QStringList labels = labelTexts(g);
    QVERIFY(labels.contains("Нет графика 1-1"));
    QVERIFY(labels.contains("   ")); // " " + " " + " "
    QVERIFY(labels.contains("DM=20"));
    QVERIFY(labels.contains("2024.01.02"));
}

void TestSearchNativeForm::cellSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cell");
    QTest::newRow("90 keeps 200") << "90" << 200;
    QTest::newRow("91 is taken") << "91" << 91;
    QTest::newRow("text keeps 200") << "wide" << 200;
    QTest::newRow("default 600") << "600" << 600;
}

void TestSearchNativeForm::cellSize() {
    QFETCH(QString, text);
    QFETCH(int, cell);
    open(threeDates());
    child<QLineEdit>("multiWidth")->setText(text);
    child<QLineEdit>("multiHeight")->setText(text);
    QVERIFY(form->drawGrafikMulti());
    QCOMPARE(grid()->cellWidth, cell);
    QCOMPARE(grid()->cellHeight, cell);
}

void TestSearchNativeForm::dateArrowsRebuildAndScroll() {
    open(threeDates());
    child<QLineEdit>("multiHeight")->setText("300");
    auto* date = child<QComboBox>("comboBoxDate");
    date->setCurrentIndex(1); // no rebuild in the grid
    QVERIFY(form->drawGrafikMulti());

    auto rowShown = [this](int row) {
        SearchNativeMultiGrafik* g = grid();
        // A new grid starts at the top, where the cell of row 2 is out of sight.
        QWidget* cell = g ? g->grafiks[row][0] : nullptr;
        return cell && g->scrollArea->verticalScrollBar()->value() > 0 &&
               cell->visibleRegion().boundingRect().height() == cell->height();
    };
    for (int press = 0; press < 2; ++press) {
        QPointer<SearchNativeMultiGrafik> before = grid();
        GridWatch watch("SearchNativeMultiGrafik", "SearchNativeGrafik");
        child<QPushButton>("dateNext")->click();
        QCOMPARE(date->currentIndex(), 2);
        flushDeletes();
        QVERIFY(!before); // rebuilt, also on the last date
        QVERIFY(grid());
        // The new grid is built and laid out before it is shown once; the old one goes hidden.
        QCOMPARE(watch.gridsShown, 1);
        QCOMPARE(watch.gridsShownUnbuilt, 0);
        QCOMPARE(watch.gridsDeletedShown, 0);
        QCOMPARE(watch.cellShows.size(), 9);
        QCOMPARE(watch.mostShowsOfACell(), 1);
        QTRY_VERIFY(rowShown(2));
    }

    date->setCurrentIndex(0);
    child<QPushButton>("datePre")->click();
    QCOMPARE(date->currentIndex(), 2);
    QCOMPARE(form->viewName, QString("multi"));
}

void TestSearchNativeForm::dmArrowsInGridOnlyMoveSelector() {
    open(threeDates());
    auto* disp = child<QComboBox>("comboBoxDispersion");
    disp->setCurrentIndex(2);
    SearchNativeMultiGrafik* before = grid();
    child<QPushButton>("dispNext")->click();
    QCOMPARE(disp->currentIndex(), 0);
    child<QPushButton>("dispPre")->click();
    QCOMPARE(disp->currentIndex(), 2);
    child<QComboBox>("comboBoxDate")->setCurrentIndex(1);
    flushDeletes();
    QCOMPARE(grid(), before);
    QVERIFY(desktop->boxes().isEmpty());
}

void TestSearchNativeForm::oneGraphAndItsArrows() {
    open(threeDates());
    child<QComboBox>("comboBoxDispersion")->setCurrentIndex(1);
    child<QPushButton>("drawGrafikOne")->click();
    QCOMPARE(form->viewName, QString("one"));
    SearchNativeGrafik* one = plot();
    QVERIFY(one);
    QCOMPARE(one->grafikType, QString("profile"));
    QCOMPARE(one->arrGrafikY, (QVector<QVector<double>>{ramp(4, 2)}));
    QCOMPARE(texts(one->colors), QStringList{"blue"});
    QCOMPARE(one->date, QString("2024.03.01"));
    QCOMPARE(one->nPoints, 4);
    QVERIFY(!one->fixedYRange && !one->inGrid && !one->hintShown);
    QCOMPARE(one->mainWindow, window);
    QCOMPARE(Settings::getInstance()->getSearchGrafikOne(), one);

    // In the one view a DM arrow draws the next DM (once through the selector, once more itself).
    child<QPushButton>("dispNext")->click();
    QCOMPARE(plot()->arrGrafikY[0], ramp(4, 3));
    child<QPushButton>("dateNext")->click();
    QCOMPARE(plot()->date, QString("2024.01.02"));

    // " " is no date, but it may be a DM: the one view draws the selection again.
    SearchNativeGrafik* shown = plot();
    form->changedDate(" ");
    QCOMPARE(plot(), shown);
    form->changedDispersion(" ");
    QVERIFY(plot() != shown);
    QCOMPARE(plot()->date, QString("2024.01.02"));
    QVERIFY(desktop->boxes().isEmpty());

    // A typed date that names nothing ends in the same box and keeps the graph.
    SearchNativeGrafik* kept = plot();
    child<QComboBox>("comboBoxDate")->setEditText("2025");
    QCOMPARE(desktop->boxes().last().text, QString("Нет данных в для key=2025_30"));
    QCOMPARE(plot(), kept);

    QVERIFY(form->drawGrafikMulti());
    QCOMPARE(form->viewName, QString("multi"));
}

void TestSearchNativeForm::noDmAtAll() {
    const QString root = dir.filePath("nodm");
    QVERIFY(SearchResultWriter::write(root + "/2024.01.01_a.txt", QByteArray("sigma=1\n1 2 3\n")));
    open(root);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("Нет ни одной дисперсии!"));
    QCOMPARE(form->viewName, QString(""));
    SearchNativeGrafik* hint = plot();
    QVERIFY(hint);
    QVERIFY(hint->hintShown);
    QVERIFY(!form->checkFormAndRedraw());
    child<QPushButton>("drawGrafikOne")->click();
    QCOMPARE(desktop->boxes().last().text, QString("Выберите дисперсию!"));
    QCOMPARE(plot(), hint);
}

QTEST_MAIN(TestSearchNativeForm)
#include "tst_searchnativeform.moc"
