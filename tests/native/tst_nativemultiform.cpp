#include "app/mainwindow.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "native/greendates.h"
#include "native/nativemultiform.h"
#include "support/gridwatch.h"
#include "support/messagelog.h"
#include "support/nativedates.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

const int points = 300;

// Date k of a fixture directory: 1 to 28 May 2024, "DDMMYY".
QString ddmmyy(int k) {
    return QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0')) + QStringLiteral("0524");
}

QString dateText(int k) {
    return QStringLiteral("2024.05.%1").arg(k + 1, 2, 10, QLatin1Char('0'));
}

// Each date its own level, so that the maxima tell the dates apart; a pulse at point 100 of the
// reference band, dispersed at DM 50 into the lower bands.
NativeDates::SeriesFn dateSeries(int k) {
    const QVector<int> shifts =
        ObsFileWriter::dispersionShifts(NativeDates::formBands(), 50, NativeDates::formTres);
    return [k, shifts](int p, int c) {
        const float level = float(k + 1);
        return (c < 6 && p == 100 + shifts[c]) ? level + 10.0f : level;
    };
}

// Writes `count` dates into dir, one file each.
void writeDates(const QString& dir, int count) {
    for (int k = 0; k < count; ++k) {
        QVERIFY(NativeDates::write(dir + "/" + NativeDates::fileName(ddmmyy(k)), points, dateSeries(k)));
    }
}

QList<QWidget*> workArea(MainWindow& window) {
    QList<QWidget*> out;
    QLayout* layout = window.centralWidget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        out << layout->itemAt(i)->widget();
    }
    return out;
}

QWidget* view(MainWindow& window) {
    const QList<QWidget*> w = workArea(window);
    return w.size() == 2 ? w[1] : nullptr;
}

MultiGrafik* gridOf(MainWindow& window) {
    return qobject_cast<MultiGrafik*>(view(window));
}

ProfileGrafik* cell(MultiGrafik* grid, int r, int c) {
    return grid ? qobject_cast<ProfileGrafik*>(grid->grafiks.value(r).value(c)) : nullptr;
}

// Shows the window at that size; false when it never became exposed.
bool shownAt(MainWindow& window, int width, int height) {
    window.resize(width, height);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

void dropDeferred() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A press (and its release) in the middle of a graph, through the window as a user's would come.
void press(MainWindow& window, QWidget* graph, Qt::MouseButton button) {
    const QPoint at = graph->mapTo(&window, graph->rect().center());
    QTest::mousePress(window.windowHandle(), button, Qt::NoModifier, at);
    QTest::mouseRelease(window.windowHandle(), button, Qt::NoModifier, at);
    dropDeferred();
}

QStringList boxTexts(const RecordingDesktop& desktop) {
    QStringList out;
    for (const auto& c : desktop.boxes()) {
        out << c.title + ": " + c.text;
    }
    return out;
}

} // namespace

class TestNativeMultiForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void construction();
    void datesFromFileNames();
    void firstFileOfADateWins();
    void progressSteps_data();
    void progressSteps();
    void unusableFilesGivePlaceholders();
    void emptyOrMissingDirectory_data();
    void emptyOrMissingDirectory();
    void menusRefusedDuringTheScan();
    void scanReadsAsOneFileAtATime();

    void gridShape_data();
    void gridShape();
    void cellSize_data();
    void cellSize();
    void curves_data();
    void curves();
    void oneGraphCaptions_data();
    void oneGraphCaptions();
    void oneGraphRefusals();

    void rightPressOnCellTurnsGreenAndScrolls();
    void rightPressAtTheCornerDoesNotScroll();
    void leftPressSwitchesViews();
    void rightPressOnOneGraphAndToggle();
    void navigation();
    void panelChangesRedraw();

    void greenListAtStart();
    void saveGreen();
    void saveGreenFailures();
    void writeGreen();

private:
    struct Opened {
        MainWindow* window = nullptr;
        NativeMultiForm* form = nullptr;
    };
    QTemporaryDir root;
    QString sevenDates;
    static QDateTime fixedNow();
};

QDateTime TestNativeMultiForm::fixedNow() {
    return QDateTime(QDate(2024, 6, 1), QTime(12, 34, 56));
}

void TestNativeMultiForm::initTestCase() {
    TestEnv::isolate();
    QVERIFY(root.isValid());
    sevenDates = root.filePath("N1/seven");
    writeDates(sevenDates, 7);
    GreenDates::setClock(&TestNativeMultiForm::fixedNow);
}

void TestNativeMultiForm::cleanup() {
    dropDeferred();
}

void TestNativeMultiForm::construction() {
    MainWindow window;
    RecordingDesktop desktop;
    QPointer<QWidget> previous = new QLabel("previous form");
    WorkArea::install({previous});
    auto* form = new NativeMultiForm(sevenDates, &window);
    dropDeferred();
    QVERIFY(previous.isNull());
    QVERIFY2(desktop.boxes().isEmpty(), qPrintable(boxTexts(desktop).join('\n')));

    QCOMPARE(workArea(window).value(0), static_cast<QWidget*>(form));
    MultiGrafik* grid = gridOf(window);
    QVERIFY(grid);
    QCOMPARE(form->multiGrafik.data(), grid);
    QCOMPARE(static_cast<QLayout*>(form->workLayout), window.centralWidget()->layout());
    QCOMPARE(form->workLayout->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(form->viewName, QString("multi"));
    QCOMPARE(Settings::getInstance()->getGrafikMulti(), static_cast<QWidget*>(grid));

    QCOMPARE(form->dates.size(), 7);
    QCOMPARE(form->dates.first(), QString("2024.05.01"));
    QCOMPARE(form->series.size(), 7);
    QCOMPARE(form->filePaths.size(), 7);
    for (const QString& d : form->dates) {
        QCOMPARE(form->series.value(d).size(), 7);
        QCOMPARE(form->series.value(d).at(6).size(), points);
    }
    auto* dateBox = form->findChild<QComboBox*>("comboBoxDate");
    auto* dmBox = form->findChild<QComboBox*>("comboBoxDispersion");
    QCOMPARE(dateBox->count(), 7);
    QCOMPARE(dmBox->count(), 100);
    QCOMPARE(dmBox->currentText(), QString("0"));
    QCOMPARE(dmBox->itemText(99), QString("99"));
    QCOMPARE(form->dispersions.size(), 100);
    QCOMPARE(form->findChild<QComboBox*>("comboBoxAverageType")->currentText(), QString("simple twice"));
    QCOMPARE(form->findChild<QComboBox*>("comboBoxAverageType")->itemText(1), QString("movig average"));
    QCOMPARE(form->findChild<QLabel*>("dirName")->text(), Tools::shortPath(sevenDates));
    QCOMPARE(form->greenFilePath, sevenDates + "/green_dates.txt");
    QVERIFY(form->greenDates.isEmpty());
    QCOMPARE(form->tres, 0.0999424);
    QCOMPARE(form->fbands, NativeDates::formBands());
    QVERIFY(Settings::getInstance()->getProgressBar()->isHidden());
    // Drawn at DM 0: one red curve per date, the date's series summed over six bands.
    ProfileGrafik* first = cell(grid, 0, 0);
    QVERIFY(first);
    QCOMPARE(first->caption2, QString("2024.05.01"));
    QCOMPARE(first->colors, QVector<QString>{"red"});
    QCOMPARE(first->arrGrafikY.size(), 1);
    QCOMPARE(first->arrGrafikY[0].value(0), 6.0);
}

void TestNativeMultiForm::datesFromFileNames() {
    const QString dir = root.filePath("names");
    QVERIFY(
        NativeDates::write(dir + "/a/" + NativeDates::fileName("170524", 9, "_b"), points, dateSeries(0)));
    QVERIFY(NativeDates::write(dir + "/a/" + NativeDates::fileName("180524", 9, "", "01"), points,
                               dateSeries(1)));
    QVERIFY(NativeDates::write(dir + "/b/190524_9_N1_00.pnt", points, dateSeries(2)));
    QVERIFY(NativeDates::write(dir + "/b/" + NativeDates::fileName("311299", 23), points, dateSeries(3)));
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    QCOMPARE(form->dates, (QVector<QString>{"2024.05.17", "2099.12.31"}));
    QCOMPARE(form->filePaths.value("2024.05.17"), dir + "/a/170524_09_N1_00_b.pnt");
}

void TestNativeMultiForm::firstFileOfADateWins() {
    // The same date in two subdirectories; the later path is damaged (its passport only).
    const QString dir = root.filePath("twice");
    QVERIFY(NativeDates::write(dir + "/a/" + NativeDates::fileName("170524", 9), points, dateSeries(0)));
    ObsFileWriter::Description broken = NativeDates::description(points);
    broken.sampleBytes = 10;
    QDir().mkpath(dir + "/b");
    QVERIFY(ObsFileWriter::write(dir + "/b/" + NativeDates::fileName("170524", 10), broken));
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    QVERIFY2(desktop.boxes().isEmpty(), qPrintable(boxTexts(desktop).join('\n')));
    QCOMPARE(form->dates, QVector<QString>{"2024.05.17"});
    QCOMPARE(form->filePaths.value("2024.05.17"), dir + "/a/170524_09_N1_00.pnt");
    QCOMPARE(form->series.value("2024.05.17").at(0).size(), points);
}

void TestNativeMultiForm::progressSteps_data() {
    QTest::addColumn<QString>(
        "odd"); // "" all match; "nomatch": file 10 has no date; "duplicate": a repeated date
    QTest::addColumn<QList<int>>("values");
    QTest::newRow("25 files") << "" << QList<int>{0, 40, 80, 100};
    QTest::newRow("file 10 without a date") << "nomatch" << QList<int>{0, 80, 100};
    QTest::newRow("file 10 a repeated date") << "duplicate" << QList<int>{0, 80, 100};
}

void TestNativeMultiForm::progressSteps() {
    QFETCH(QString, odd);
    QFETCH(QList<int>, values);
    const QString dir = root.filePath("progress_" + QString(QTest::currentDataTag()).replace(' ', '_'));
    QDir(dir).removeRecursively();
    for (int k = 0; k < 25; ++k) {
        // Paths sort by name: "f00/..", "f01/..", so index k is file k.
        QString name = NativeDates::fileName(ddmmyy(k));
        if (k == 10 && odd == "nomatch") {
            name = "nodate.pnt";
        } else if (k == 10 && odd == "duplicate") {
            name = NativeDates::fileName(ddmmyy(9), 10);
        }
        QVERIFY(
            NativeDates::write(QStringLiteral("%1/f%2/%3").arg(dir).arg(k, 2, 10, QLatin1Char('0')).arg(name),
                               20, dateSeries(k)));
    }
    MainWindow window;
    RecordingDesktop desktop;
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    bar->setValue(55);
    QSignalSpy spy(bar, &QProgressBar::valueChanged);
    new NativeMultiForm(dir, &window);
    QList<int> seen;
    for (const auto& args : spy) {
        seen << args.at(0).toInt();
    }
    QCOMPARE(seen, values);
    QVERIFY(bar->isHidden());
}

void TestNativeMultiForm::unusableFilesGivePlaceholders() {
    const QString dir = root.filePath("unusable");
    writeDates(dir, 3);
    // Date 2024.05.02 holds only five channels; 2024.05.03 cannot be read at all.
    ObsFileWriter::Description five = NativeDates::description(points);
    five.nbands = 4;
    five.fbands = NativeDates::formBands().mid(0, 4);
    QVERIFY(ObsFileWriter::write(dir + "/" + NativeDates::fileName(ddmmyy(1)), five));
    QVERIFY(QFile(dir + "/" + NativeDates::fileName(ddmmyy(2))).resize(0));
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    QCOMPARE(form->dates.size(), 3);
    for (const QString& d : {QString("2024.05.02"), QString("2024.05.03")}) {
        QCOMPARE(form->series.value(d).size(), 7);
        QVERIFY(form->series.value(d).at(6).isEmpty());
    }
    MultiGrafik* grid = gridOf(window);
    QVERIFY(grid);
    QVERIFY(cell(grid, 0, 0));
    QVERIFY(!grid->grafiks[0][1]);
    QVERIFY(!grid->grafiks[0][2]);
    // The one graph of such a date is refused.
    form->findChild<QComboBox*>("comboBoxDate")->setCurrentIndex(1);
    desktop.calls.clear();
    QVERIFY(!form->drawGrafikOne());
    QCOMPARE(boxTexts(desktop), QStringList{"Error: Нет данных для date=2024.05.02"});
    QCOMPARE(view(window), static_cast<QWidget*>(grid));
}

void TestNativeMultiForm::emptyOrMissingDirectory_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("empty") << true;
    QTest::newRow("missing") << false;
}

void TestNativeMultiForm::emptyOrMissingDirectory() {
    QFETCH(bool, exists);
    const QString dir = root.filePath(exists ? "empty" : "missing");
    if (exists) {
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(NativeDates::write(dir + "/sub/notdated.pnt", 20));
    }
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    const QString first =
        exists ? "Error: В этой директории ничего не найдено" : "Error: " + dir + " does not exist!";
    QCOMPARE(boxTexts(desktop), (QStringList{first, "Error: Нет строк!"}));
    auto* start = qobject_cast<ProfileGrafik*>(view(window));
    QVERIFY(start);
    QVERIFY(start->hintShown);
    QCOMPARE(form->grafik.data(), start);
    QVERIFY(form->viewName.isEmpty());
    QCOMPARE(form->findChild<QComboBox*>("comboBoxDate")->count(), 0);
    QCOMPARE(form->findChild<QComboBox*>("comboBoxDispersion")->count(), 0);
    QVERIFY(form->dispersions.isEmpty());
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    if (exists) {
        // Hidden also when nothing was found: a bar left at 100 looks like a hang.
        QVERIFY(bar->isHidden());
        QCOMPARE(bar->value(), 100);
    }
    // The arrows do nothing without dates.
    form->dateNext();
    form->datePre();
    form->dispNext();
    form->dispPre();
    QCOMPARE(desktop.boxes().size(), 2);
}

void TestNativeMultiForm::menusRefusedDuringTheScan() {
    const QString dir = root.filePath("busy");
    writeDates(dir, 3);
    MainWindow window;
    RecordingDesktop desktop;
    desktop.directoryAnswers << sevenDates;
    QAction* sumChannels = window.findChild<QAction*>("actionSumChannels");
    QVERIFY(sumChannels);
    bool fired = false;
    QTimer::singleShot(0, &window, [&] {
        fired = true;
        sumChannels->trigger();
    });
    auto* form = new NativeMultiForm(dir, &window);
    QVERIFY(fired);
    QVERIFY(desktop.callsOf("dir").isEmpty());
    QCOMPARE(desktop.directoryAnswers.size(), 1);
    QCOMPARE(workArea(window).value(0), static_cast<QWidget*>(form));
    QVERIFY(gridOf(window));
    QCOMPARE(form->dates.size(), 3);
}

// The scan reads its files on worker threads; what it keeps, logs and shows is what reading them one
// after another gives, in path order.
void TestNativeMultiForm::scanReadsAsOneFileAtATime() {
    const QString dir = root.filePath("workers");
    writeDates(dir, 23);
    for (int k : {5, 17}) {
        ObsFileWriter::Description cut = NativeDates::description(points, dateSeries(k));
        cut.sampleBytes = (100 + k) * ObsFileWriter::bytesPerPoint(cut) + 6;
        QVERIFY(ObsFileWriter::write(dir + "/" + NativeDates::fileName(ddmmyy(k)), cut));
    }
    QVERIFY(QFile(dir + "/" + NativeDates::fileName(ddmmyy(9))).resize(0));
    ObsFileWriter::Description five = NativeDates::description(points, dateSeries(14));
    five.nbands = 4;
    five.fbands = NativeDates::formBands().mid(0, 4);
    QVERIFY(ObsFileWriter::write(dir + "/" + NativeDates::fileName(ddmmyy(14)), five));

    MainWindow window;
    RecordingDesktop desktop;
    NativeMultiForm* form = nullptr;
    QStringList scanLog;
    {
        MessageLog log;
        form = new NativeMultiForm(dir, &window);
        scanLog = log.linesStartingWith("Error!");
    }
    const QStringList scanBoxes = boxTexts(desktop);
    desktop.calls.clear();
    const QString damaged =
        "Data is heavily damaged: File size is incorrect, data is broken, showing what I can.";
    QCOMPARE(scanBoxes, (QStringList{damaged, damaged}));
    // Two short files and the empty one.
    QCOMPARE(scanLog.size(), 3);
    QCOMPARE(form->dates.size(), 23);
    QCOMPARE(form->series.value(dateText(5)).at(6).size(), 105);
    QCOMPARE(form->series.value(dateText(17)).at(3).size(), 117);

    MessageLog log;
    for (int k = 0; k < 23; ++k) {
        const QString date = dateText(k);
        QCOMPARE(form->series.value(date), form->readNativeFile(form->filePaths.value(date)));
    }
    QCOMPARE(scanLog, log.linesStartingWith("Error!"));
    QCOMPARE(boxTexts(desktop), scanBoxes);
}

void TestNativeMultiForm::gridShape_data() {
    QTest::addColumn<QString>("cols");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("3") << "3" << 3 << 3;
    QTest::newRow("-3 counts as 2") << "-3" << 2 << 4;
    QTest::newRow("7") << "7" << 7 << 1;
    QTest::newRow("10") << "10" << 10 << 1;
    QTest::newRow("abc") << "abc" << 0 << 0;
    QTest::newRow("0") << "0" << 0 << 0;
}

void TestNativeMultiForm::gridShape() {
    QFETCH(QString, cols);
    QFETCH(int, columns);
    QFETCH(int, rows);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    MultiGrafik* before = gridOf(window);
    form->findChild<QLineEdit*>("cols")->setText(cols);
    const bool drawn = form->drawGrafikMulti();
    dropDeferred();
    if (columns == 0) {
        QVERIFY(!drawn);
        QCOMPARE(boxTexts(desktop), QStringList{"Error: Нет колонок!"});
        QCOMPARE(gridOf(window), before);
        return;
    }
    QVERIFY(drawn);
    MultiGrafik* grid = gridOf(window);
    QVERIFY(grid && grid != before);
    QCOMPARE(grid->columns, columns);
    QCOMPARE(grid->rows, rows);
    QVector<QString> colTitles{""};
    for (int c = 1; c <= columns; ++c) {
        colTitles << QString::number(c);
    }
    QVector<QString> rowTitles{""};
    for (int r = 1; r <= rows; ++r) {
        rowTitles << QString::number(r);
    }
    QCOMPARE(grid->columnTitles, colTitles);
    QCOMPARE(grid->rowTitles, rowTitles);
    QCOMPARE(grid->grafiks.size(), rows);
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(grid->grafiks[r].size(), columns);
        for (int c = 0; c < columns; ++c) {
            const int k = r * columns + c;
            ProfileGrafik* g = cell(grid, r, c);
            if (k >= 7) {
                QVERIFY(!grid->grafiks[r][c]);
                continue;
            }
            QVERIFY(g);
            QCOMPARE(g->caption2, dateText(k));
            QCOMPARE(g->row, r);
            QCOMPARE(g->col, c);
            QVERIFY(g->inGrid);
        }
    }
    QCOMPARE(form->grafik.data(), cell(grid, 6 / columns, 6 % columns));
}

void TestNativeMultiForm::cellSize_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::newRow("panel defaults") << "450"
                                    << "200" << 450 << 200;
    QTest::newRow("80 keeps the grid's width") << "80"
                                               << "91" << 200 << 91;
    QTest::newRow("90 and text") << "90"
                                 << "x" << 200 << 200;
}

void TestNativeMultiForm::cellSize() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, cellWidth);
    QFETCH(int, cellHeight);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    form->findChild<QLineEdit*>("multiWidth")->setText(width);
    form->findChild<QLineEdit*>("multiHeight")->setText(height);
    QVERIFY(form->drawGrafikMulti());
    MultiGrafik* grid = gridOf(window);
    QCOMPARE(grid->cellWidth, cellWidth);
    QCOMPARE(grid->cellHeight, cellHeight);
}

void TestNativeMultiForm::curves_data() {
    QTest::addColumn<QString>("dm");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QVector<QString>>("colors");
    QTest::addColumn<QString>("range"); // which series the Y range covers: "dm", "both"
    QTest::newRow("dm 0, both") << "0"
                                << "showDisp2" << QVector<QString>{"red"} << "dm";
    QTest::newRow("dm 0.5: integer part 0") << "0.5"
                                            << "showDisp2" << QVector<QString>{"red"} << "dm";
    QTest::newRow("dm 50, both") << "50"
                                 << "showDisp2" << QVector<QString>{"red", "blue"} << "both";
    QTest::newRow("dm 50, disp") << "50"
                                 << "showDisp" << QVector<QString>{"blue"} << "both";
    QTest::newRow("dm 50, disp0") << "50"
                                  << "showDisp0" << QVector<QString>{"red"} << "both";
    QTest::newRow("dm -3, both: empty dm-0 curve") << "-3"
                                                   << "showDisp2" << QVector<QString>{"red", "blue"} << "dm";
}

void TestNativeMultiForm::curves() {
    QFETCH(QString, dm);
    QFETCH(QString, mode);
    QFETCH(QVector<QString>, colors);
    QFETCH(QString, range);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    form->findChild<QRadioButton*>(mode)->setChecked(true);
    form->findChild<QComboBox*>("comboBoxDispersion")->setCurrentText(dm);
    form->drawGrafikMulti();
    ProfileGrafik* g = cell(gridOf(window), 0, 1);
    QVERIFY(g);
    QCOMPARE(g->colors, colors);
    QCOMPARE(g->visible, QVector<bool>(colors.size(), true));
    const double d = dm.toDouble();
    const QVector<double> sDM = form->makeSeries("2024.05.02", d, 0, 0);
    const QVector<double> s0 = d >= 1 ? form->makeSeries("2024.05.02", 0, 0, 0) : QVector<double>();
    if (colors.size() == 2) {
        QCOMPARE(g->arrGrafikY, (QVector<QVector<double>>{s0, sDM}));
    } else {
        QCOMPARE(g->arrGrafikY[0], colors[0] == "blue" || d < 1 ? sDM : s0);
    }
    // The dedispersed pulse stands out only at its DM: 2 + 6 * 10 at point 100.
    if (d == 50) {
        QCOMPARE(sDM[100], 12.0 + 60.0);
        QVERIFY(s0[100] < 40.0);
    }
    const Tools::MaxMin m =
        range == "both" ? Tools::maxMin(QVector<QVector<double>>{s0, sDM}) : Tools::maxMin(sDM);
    QCOMPARE(g->caption3, QStringLiteral("max=%1").arg(m.max, 0, 'f', 2));
    QCOMPARE(g->nPoints, points);
}

void TestNativeMultiForm::oneGraphCaptions_data() {
    QTest::addColumn<QString>("dm");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("caption3");
    QTest::addColumn<QString>("caption4");
    // Date 2024.05.02: level 2, so the plain sum is 12 and the pulse adds 60 at its own DM.
    QTest::newRow("dm 0.5") << "0.5"
                            << "showDisp2"
                            << "dm=0.5"
                            << "max=22.00";
    QTest::newRow("dm 50 both") << "50"
                                << "showDisp2"
                                << "dm=0, dm=50"
                                << "max0=22.00, max=72.00";
    QTest::newRow("dm 050 both, as typed") << "050"
                                           << "showDisp2"
                                           << "dm=0, dm=050"
                                           << "max0=22.00, max=72.00";
    QTest::newRow("dm 50 disp") << "50"
                                << "showDisp"
                                << "dm=50"
                                << "max=72.00";
    QTest::newRow("dm 50 disp0") << "50"
                                 << "showDisp0"
                                 << "dm=0"
                                 << "max=22.00";
}

void TestNativeMultiForm::oneGraphCaptions() {
    QFETCH(QString, dm);
    QFETCH(QString, mode);
    QFETCH(QString, caption3);
    QFETCH(QString, caption4);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    form->findChild<QRadioButton*>(mode)->setChecked(true);
    form->findChild<QComboBox*>("comboBoxDate")->setCurrentIndex(1);
    form->findChild<QComboBox*>("comboBoxDispersion")->setCurrentText(dm);
    QVERIFY(form->drawGrafikOne());
    dropDeferred();
    auto* g = qobject_cast<ProfileGrafik*>(view(window));
    QVERIFY(g);
    QCOMPARE(form->grafik.data(), g);
    QCOMPARE(Settings::getInstance()->getGrafikOne(), static_cast<QWidget*>(g));
    QCOMPARE(form->viewName, QString("one"));
    QCOMPARE(g->grafikType, QString("one"));
    QVERIFY(!g->hintShown);
    QVERIFY(!g->inGrid);
    QCOMPARE(g->caption1, form->sourceName);
    QCOMPARE(g->caption2, QString("2024.05.02"));
    QCOMPARE(g->caption3, caption3);
    QCOMPARE(g->caption4, caption4);
    QCOMPARE(g->date, QString("2024.05.02"));
    QCOMPARE(g->labelsBottom.size(), 13);
    QCOMPARE(g->labelsBottom.last(), QString("2400"));
    QCOMPARE(g->precisionY, 2);
    QCOMPARE(g->nPoints, points);
    QVERIFY(!g->testAttribute(Qt::WA_MouseTracking));
}

void TestNativeMultiForm::oneGraphRefusals() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QWidget* grid = view(window);
    auto* dateBox = form->findChild<QComboBox*>("comboBoxDate");
    dateBox->setEditText("");
    QVERIFY(!form->drawGrafikOne());
    dateBox->setEditText("2024.05");
    QVERIFY(!form->drawGrafikOne());
    QCOMPARE(boxTexts(desktop), (QStringList{"Error: Выберите дату!", "Error: Нет данных для date=2024.05"}));
    QCOMPARE(view(window), grid);
    QCOMPARE(form->viewName, QString("multi"));
}

void TestNativeMultiForm::rightPressOnCellTurnsGreenAndScrolls() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QVERIFY(shownAt(window, 1000, 500));
    MultiGrafik* grid = gridOf(window);
    ProfileGrafik* g = cell(grid, 2, 0);
    QVERIFY(g);
    QCOMPARE(g->caption2, QString("2024.05.07"));
    QVERIFY(grid->scrollArea->verticalScrollBar()->maximum() > 0);
    grid->scrollToGrafik(2, 0);
    QTest::qWait(10);
    GridWatch watch("MultiGrafik", "ProfileGrafik");
    press(window, g, Qt::RightButton);
    QCOMPARE(form->greenDates.value("2024.05.07"), 1);
    QCOMPARE(form->currentRow, 2);
    QCOMPARE(form->currentCol, 0);
    MultiGrafik* rebuilt = gridOf(window);
    QVERIFY(rebuilt && rebuilt != grid);
    // The new grid is built and laid out before it is shown once; the old one goes hidden.
    dropDeferred();
    QCOMPARE(watch.gridsShown, 1);
    QCOMPARE(watch.gridsShownUnbuilt, 0);
    QCOMPARE(watch.gridsDeletedShown, 0);
    int cells = 0;
    for (const QVector<QWidget*>& row : rebuilt->grafiks) {
        cells += int(std::count_if(row.cbegin(), row.cend(), [](QWidget* w) { return w != nullptr; }));
    }
    QCOMPARE(watch.cellShows.size(), cells);
    QCOMPARE(watch.mostShowsOfACell(), 1);
    QCOMPARE(cell(rebuilt, 2, 0)->background, QString("#defbdd"));
    QVERIFY(cell(rebuilt, 0, 0)->background != QString("#defbdd"));
    // The new grid starts at the top; only the form's deferred scroll brings the cell back.
    QTRY_VERIFY_WITH_TIMEOUT(rebuilt->scrollArea->verticalScrollBar()->value() > 0, 2000);
    QVERIFY(desktop.boxes().isEmpty());
}

void TestNativeMultiForm::rightPressAtTheCornerDoesNotScroll() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QVERIFY(shownAt(window, 1000, 500));
    ProfileGrafik* g = cell(gridOf(window), 0, 0);
    press(window, g, Qt::RightButton);
    QCOMPARE(form->greenDates.value("2024.05.01"), 1);
    MultiGrafik* rebuilt = gridOf(window);
    QCOMPARE(cell(rebuilt, 0, 0)->background, QString("#defbdd"));
    QTest::qWait(60);
    QCOMPARE(rebuilt->scrollArea->verticalScrollBar()->value(), 0);
}

void TestNativeMultiForm::leftPressSwitchesViews() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QVERIFY(shownAt(window, 1200, 900));
    ProfileGrafik* g = cell(gridOf(window), 1, 1);
    press(window, g, Qt::LeftButton);
    auto* dateBox = form->findChild<QComboBox*>("comboBoxDate");
    QCOMPARE(form->viewName, QString("one"));
    QCOMPARE(dateBox->currentText(), QString("2024.05.05"));
    QCOMPARE(dateBox->currentIndex(), 0);
    auto* one = qobject_cast<ProfileGrafik*>(view(window));
    QVERIFY(one);
    QCOMPARE(one->caption2, QString("2024.05.05"));
    QCOMPARE(one->row, 1);
    QCOMPARE(one->col, 1);

    // The next date follows the selected index, which the click left at 0.
    form->findChild<QPushButton*>("dateNext")->click();
    dropDeferred();
    QCOMPARE(qobject_cast<ProfileGrafik*>(view(window))->caption2, QString("2024.05.02"));

    // A left press on the one graph goes back to the grid, which scrolls to the cell clicked last.
    QApplication::processEvents();
    one = qobject_cast<ProfileGrafik*>(view(window));
    press(window, one, Qt::LeftButton);
    QCOMPARE(form->viewName, QString("multi"));
    QVERIFY(gridOf(window));
    QVERIFY(desktop.boxes().isEmpty());
}

void TestNativeMultiForm::rightPressOnOneGraphAndToggle() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QVERIFY(shownAt(window, 1200, 700));
    QVERIFY(form->drawGrafikOne());
    dropDeferred();
    QList<int> seen;
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        auto* one = qobject_cast<ProfileGrafik*>(view(window));
        QVERIFY(one);
        press(window, one, Qt::RightButton);
        seen << form->greenDates.value("2024.05.01", -1);
        auto* redrawn = qobject_cast<ProfileGrafik*>(view(window));
        QVERIFY(redrawn && redrawn != one);
        QCOMPARE(redrawn->background == "#defbdd", seen.last() == 1);
    }
    QCOMPARE(seen, (QList<int>{1, 0, 1}));
    QCOMPARE(form->viewName, QString("one"));
    // Any other stored value turns green too.
    form->greenDates.insert("2024.05.02", 7);
    form->clickedRightOnGrafik("2024.05.02", 0, 1);
    QCOMPARE(form->greenDates.value("2024.05.02"), 1);
}

void TestNativeMultiForm::navigation() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    auto* dateBox = form->findChild<QComboBox*>("comboBoxDate");
    auto* dmBox = form->findChild<QComboBox*>("comboBoxDispersion");
    auto shownDate = [&] {
        dropDeferred();
        auto* g = qobject_cast<ProfileGrafik*>(view(window));
        return g && !g->inGrid ? g->caption2 : QString("grid");
    };
    // In the grid the date arrows only move the box.
    form->dateNext();
    QCOMPARE(dateBox->currentIndex(), 1);
    QCOMPARE(shownDate(), QString("grid"));
    form->datePre();
    form->datePre();
    QCOMPARE(dateBox->currentIndex(), 6);
    form->dateNext();
    QCOMPARE(dateBox->currentIndex(), 6);
    QVERIFY(form->drawGrafikOne());
    QCOMPARE(shownDate(), QString("2024.05.07"));
    form->dateNext();
    QCOMPARE(shownDate(), QString("2024.05.07"));
    dateBox->setCurrentIndex(0);
    form->datePre();
    QCOMPARE(shownDate(), QString("2024.05.07"));

    // DM arrows: stop at 99 going up, wrap to 99 from 0 going down.
    form->dispPre();
    QCOMPARE(dmBox->currentText(), QString("99"));
    form->dispNext();
    QCOMPARE(dmBox->currentText(), QString("99"));
    QCOMPARE(qobject_cast<ProfileGrafik*>(view(window))->caption3, QString("dm=0, dm=99"));
    dmBox->setCurrentIndex(0);
    form->drawGrafikMulti();
    form->dispNext();
    QCOMPARE(dmBox->currentText(), QString("1"));
    QCOMPARE(shownDate(), QString("grid"));
    QVERIFY(desktop.boxes().isEmpty());
}

void TestNativeMultiForm::panelChangesRedraw() {
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(sevenDates, &window);
    QWidget* before = view(window);
    form->findChild<QCheckBox*>("showApprox")->setChecked(true);
    dropDeferred();
    QWidget* after = view(window);
    QVERIFY(after && after != before);
    // The approximation's length above the series: the box for every date, the plain sums drawn.
    form->findChild<QSpinBox*>("len")->setValue(600);
    QCOMPARE(desktop.boxes().size(), 7);
    QCOMPARE(desktop.boxes().at(0).text,
             QString("Введите длину отрезка для аппроксимации по медианным значениям!"));
    ProfileGrafik* g = cell(gridOf(window), 0, 0);
    QCOMPARE(g->arrGrafikY[0], form->sumChannels(form->series.value("2024.05.01"), 0));
}

void TestNativeMultiForm::greenListAtStart() {
    const QString dir = root.filePath("greenstart");
    writeDates(dir, 3);
    QFile f(dir + "/green_dates.txt");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("2024.05.02 1 good pulse\n2024.05.03 0\n");
    f.close();
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    QCOMPARE(form->greenDates.value("2024.05.02"), 1);
    MultiGrafik* grid = gridOf(window);
    QCOMPARE(cell(grid, 0, 1)->background, QString("#defbdd"));
    QVERIFY(cell(grid, 0, 2)->background != QString("#defbdd"));
    // A white date from the file turns green with a right click, then white again.
    form->clickedRightOnGrafik("2024.05.03", 0, 2);
    QCOMPARE(form->greenDates.value("2024.05.03"), 1);
    form->clickedRightOnGrafik("2024.05.03", 0, 2);
    QCOMPARE(form->greenDates.value("2024.05.03"), 0);
}

void TestNativeMultiForm::saveGreen() {
    const QString dir = root.filePath("save");
    writeDates(dir, 4);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    // Empty table: the file still says so.
    QVERIFY(!form->saveGreenAndSay());
    QCOMPARE(boxTexts(desktop), QStringList{"Error: No green dates for write"});
    QFile f(form->greenFilePath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("no green dates"));
    f.close();

    desktop.calls.clear();
    form->clickedRightOnGrafik("2024.05.04", 1, 0);
    form->clickedRightOnGrafik("2024.05.02", 0, 1);
    form->clickedRightOnGrafik("2024.05.03", 0, 2);
    form->clickedRightOnGrafik("2024.05.03", 0, 2);
    form->findChild<QPushButton*>("saveGreen")->click();
    QCOMPARE(boxTexts(desktop),
             QStringList{"Message: All green dates were successfully recorded.\nNumber of dates: 2\nYou can "
                         "comment it after the space in file:\n\n" +
                         form->greenFilePath});
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("2024.05.02 1\n2024.05.04 1\n"));
}

void TestNativeMultiForm::saveGreenFailures() {
    const QString dir = root.filePath("savefail");
    writeDates(dir, 2);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir, &window);
    form->clickedRightOnGrafik("2024.05.01", 0, 0);
    QVERIFY(QDir().mkpath(form->greenFilePath)); // a directory where the list goes
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^ERROR! NativeMultiForm::saveGreen\\(\\): Can't open file"));
    QVERIFY(!form->saveGreenAndSay());
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^ERROR! NativeMultiForm::saveGreen\\(\\): Can't open file"));
    QVERIFY(!form->writeGreen());
    QCOMPARE(boxTexts(desktop), (QStringList{"Error: Can't open file for write: " + form->greenFilePath,
                                             "Error: Can't open file for write: " + form->greenFilePath}));
    QVERIFY(!QDir(root.filePath("savefail_green_2024.06.01_1234")).exists());
}

void TestNativeMultiForm::writeGreen() {
    const QString dir = root.filePath("D");
    writeDates(dir, 3);
    MainWindow window;
    RecordingDesktop desktop;
    auto* form = new NativeMultiForm(dir + "/", &window);
    const QString target = root.filePath("D_green_2024.06.01_1234");

    // Only white entries: the list is written, nothing to copy.
    form->clickedRightOnGrafik("2024.05.01", 0, 0);
    form->clickedRightOnGrafik("2024.05.01", 0, 0);
    QVERIFY(!form->writeGreen());
    QCOMPARE(boxTexts(desktop), QStringList{"Error: Error: no files were copy"});

    desktop.calls.clear();
    form->clickedRightOnGrafik("2024.05.03", 0, 2);
    form->clickedRightOnGrafik("2024.05.01", 0, 0);
    form->greenDates.insert("2024.04.30", 1); // listed but not in the directory: skipped
    form->findChild<QPushButton*>("writeGreen")->click();
    QCOMPARE(boxTexts(desktop),
             QStringList{
                 "Success: Files with green dates have been overwritten!\n\nNumber of files: 2\nDirectory: " +
                 target + "\n\n(Delete unnecessary directories yourself!)"});
    for (const QString& d : {QString("2024.05.01"), QString("2024.05.03")}) {
        QFile src(form->filePaths.value(d));
        QFile copy(target + "/" + QFileInfo(src).fileName());
        QVERIFY(src.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), src.readAll());
    }
    QCOMPARE(QDir(target).entryList(QDir::Files).size(), 2);

    // Again in the same minute: every copy fails, nothing is replaced.
    desktop.calls.clear();
    QVERIFY(!form->writeGreen());
    QCOMPARE(boxTexts(desktop),
             QStringList{"Error: Error: can't copy files:\n \t\t" + form->filePaths.value("2024.05.01") +
                         "\n\t\t" + form->filePaths.value("2024.05.03") + "\n"});
}

QTEST_MAIN(TestNativeMultiForm)
#include "tst_nativemultiform.moc"
