#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/settings.h"
#include "core/showinfo.h"
#include "core/workarea.h"
#include "single/arraygrafik.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

namespace {
QSettings store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "orv", "Strellix-2_visual");
}

QAction* action(MainWindow& w, const QString& name) {
    return w.findChild<QAction*>(name);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstRunWritesOnlyWhatIsSet();
    void maximizedExitKeepsGeometry();
    void lastOpenFileSurvives();
    void menuStructure();
    void dialogs_data();
    void dialogs();
    void cancelledDialogChangesNothing();
    void busyApplicationIgnoresMenus();
    void refusedFormGoes_data();
    void refusedFormGoes();
    void helpDocuments_data();
    void helpDocuments();
    void about();
    void otherMenuRunsItsViews_data();
    void otherMenuRunsItsViews();
    void sizeChangedOncePerStateChange();
    void formsKeepTheWindowSize_data();
    void formsKeepTheWindowSize();
    void savedGeometryFitsTheScreen();

private:
    QTemporaryDir fixtures;
};

void TestMainWindow::initTestCase() {
    TestEnv::isolate();
    TestEnv::clearSettingsStore();
    QVERIFY(fixtures.isValid());
    ObsFileWriter::Description shortFile;
    shortFile.npoints = 39999;
    shortFile.rays = 1;
    shortFile.nbands = 1;
    QVERIFY(ObsFileWriter::write(fixtures.filePath("short.pnt"), shortFile));
    ObsFileWriter::Description noSamples = shortFile;
    noSamples.npoints = 50000;
    noSamples.sampleBytes = 0;
    QVERIFY(ObsFileWriter::write(fixtures.filePath("nosamples.pnt"), noSamples));
    QFile notes(fixtures.filePath("notes.dat"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("1 2 3\n");
    notes.close();
    QVERIFY(QDir(fixtures.path()).mkdir("empty"));
}

void TestMainWindow::firstRunWritesOnlyWhatIsSet() {
    {
        MainWindow w;
        QCOMPARE(w.size(), QSize(600, 600));
    }
    QSettings s = store();
    QVERIFY(s.contains("graphWidth"));
    QCOMPARE(s.value("graphWidth").toString(), QString(""));
    QVERIFY(s.contains("graphHeight"));
    QCOMPARE(s.value("graphHeight").toString(), QString(""));
    QVERIFY(s.contains("geometry"));
    QVERIFY(!s.contains("lastOpenPath"));
    QVERIFY(!s.contains("lastOpenFile"));
    QVERIFY(!s.contains("lastSavePath"));
}

void TestMainWindow::maximizedExitKeepsGeometry() {
    {
        MainWindow w;
        w.resize(500, 400);
    }
    const QByteArray normal = store().value("geometry").toByteArray();
    {
        MainWindow w;
        QCOMPARE(w.size(), QSize(500, 400));
        w.showMaximized();
        QVERIFY(w.isMaximized());
    }
    QCOMPARE(store().value("geometry").toByteArray(), normal);
}

void TestMainWindow::lastOpenFileSurvives() {
    {
        QSettings s = store();
        s.setValue("lastOpenFile", "/remembered/file.pnt");
    }
    { MainWindow w; }
    QCOMPARE(store().value("lastOpenFile").toString(), QString("/remembered/file.pnt"));
}

void TestMainWindow::menuStructure() {
    MainWindow w;
    const QStringList titles = {"Native data", "Sum of signals", "Search", "Multi", "Other", "Help"};
    const QList<QStringList> entries = {
        {"actionShow_native_data", "actionShowNativeWithoutStep", "actionOneFourier", "actionOneFFA"},
        {"actionFourier", "actionFourier_map", "actionFFA", "actionFFA_map"},
        {"actionSearchFourier", "actionSearchFFA"},
        {"actionProfile_periods", "actionProfile_dispersions", "actionSumChannelsSimple",
         "actionSumChannels"},
        {"actionShowArraysFile", "actionShowArraysDir", "actionReadBinToText", "|"},
        {"|", "actionHelp", "actionUpdates", "|", "actionAbout"},
    };
    const QList<QAction*> bar = w.menuBar()->actions();
    QCOMPARE(bar.size(), titles.size());
    for (int i = 0; i < bar.size(); ++i) {
        QCOMPARE(bar[i]->text(), titles[i]);
        QStringList got;
        for (QAction* a : bar[i]->menu()->actions()) {
            got << (a->isSeparator() ? QString("|") : a->objectName());
        }
        QCOMPARE(got, entries[i]);
    }
    QCOMPARE(action(w, "actionShowNativeWithoutStep")->text(), QString("Show native - without step"));
    QCOMPARE(action(w, "actionOneFourier")->toolTip(), QString("Fourier from one pnthr file"));
    QCOMPARE(action(w, "actionReadBinToText")->toolTip(), QString("Read my binary to text"));
    QCOMPARE(action(w, "actionSearchFourier")->toolTip(), QString("Search fourier"));
    QAction* exit = action(w, "actionExit");
    QVERIFY(exit);
    QCOMPARE(exit->text(), QString("Exit"));
    QVERIFY(exit->associatedWidgets().size() <= 1); // only its owner window, no menu
    for (QWidget* owner : exit->associatedWidgets()) {
        QVERIFY(!qobject_cast<QMenu*>(owner));
    }
    QVERIFY(w.progressBar);
    QCOMPARE(w.progressBar->minimum(), 0);
    QCOMPARE(w.progressBar->maximum(), 100);
    QVERIFY(w.clipboard);
}

void TestMainWindow::dialogs_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    const char* files[] = {"actionShow_native_data", "actionShowNativeWithoutStep", "actionOneFourier",
                           "actionOneFFA",           "actionShowArraysFile",        "actionReadBinToText"};
    for (const char* f : files) {
        QTest::newRow(f) << f << "open"
                         << "Opening file";
    }
    const char* dirs[] = {"actionFourier",         "actionFourier_map",         "actionFFA",
                          "actionFFA_map",         "actionSearchFourier",       "actionSearchFFA",
                          "actionProfile_periods", "actionProfile_dispersions", "actionSumChannelsSimple",
                          "actionSumChannels"};
    for (const char* d : dirs) {
        QTest::newRow(d) << d << "dir"
                         << "Pulsar directory";
    }
    QTest::newRow("actionShowArraysDir") << "actionShowArraysDir"
                                         << "dir"
                                         << "directory";
}

void TestMainWindow::dialogs() {
    QFETCH(QString, actionName);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    MainWindow w;
    RecordingDesktop desktop;
    Settings::getInstance()->setLastOpenPath("/start/here");
    const QString answer = "/tmp/strellix-missing/D/E";
    (kind == "open" ? desktop.fileAnswers : desktop.directoryAnswers) << answer;
    action(w, actionName)->trigger();
    QCOMPARE(desktop.calls.size() >= 1, true);
    QCOMPARE(desktop.calls[0].kind, kind);
    QCOMPARE(desktop.calls[0].title, caption);
    QCOMPARE(desktop.calls[0].text, QString("/start/here"));
    QCOMPARE(Settings::getInstance()->getLastOpenPath(), QString("/tmp/strellix-missing/D"));
}

void TestMainWindow::cancelledDialogChangesNothing() {
    MainWindow w;
    RecordingDesktop desktop;
    Settings::getInstance()->setLastOpenPath("/kept");
    action(w, "actionOneFourier")->trigger();
    action(w, "actionFourier")->trigger();
    QCOMPARE(desktop.calls.size(), 2);
    QCOMPARE(Settings::getInstance()->getLastOpenPath(), QString("/kept"));
    QCOMPARE(w.centralWidget()->layout(), nullptr);
}

void TestMainWindow::busyApplicationIgnoresMenus() {
    MainWindow w;
    RecordingDesktop desktop;
    BusyGuard busy;
    action(w, "actionOneFourier")->trigger();
    action(w, "actionFourier")->trigger();
    QVERIFY(desktop.calls.isEmpty());
}

void TestMainWindow::refusedFormGoes_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("answer"); // below the fixture directory
    QTest::addColumn<QString>("formClass");
    QTest::addColumn<QString>("warning"); // the form's last box
    // One-file views and forms empty the work area before they read, so the previous view is gone.
    QTest::addColumn<bool>("previousStays");
    const QString noData = "Bad file!\nFile without data";
    QTest::newRow("show native") << "actionShow_native_data"
                                 << "nosamples.pnt"
                                 << "NativeGrafik" << noData << false;
    QTest::newRow("show native without step") << "actionShowNativeWithoutStep"
                                              << "nosamples.pnt"
                                              << "NativeGrafik" << noData << false;
    QTest::newRow("one-file Fourier") << "actionOneFourier"
                                      << "short.pnt"
                                      << "PulsarForm"
                                      << "Bad file!\nFile with short data, must be long data" << false;
    QTest::newRow("one-file FFA") << "actionOneFFA"
                                  << "nosamples.pnt"
                                  << "FfaForm" << noData << false;
    const char* sums[] = {"actionFourier", "actionFourier_map", "actionFFA", "actionFFA_map"};
    for (const char* a : sums) {
        QTest::newRow(a) << a << "missing"
                         << "FourierForm"
                         << "Bad directory of sum results!" << true;
    }
    const char* searches[] = {"actionSearchFourier", "actionSearchFFA"};
    for (const char* a : searches) {
        QTest::newRow(a) << a << "missing"
                         << "FourierForm"
                         << "Bad directory of search results!" << true;
    }
    QTest::newRow("profiles - periods") << "actionProfile_periods"
                                        << "empty"
                                        << "ProfileForm"
                                        << "В этой директории ничего не найдено" << true;
    QTest::newRow("profiles - dispersions") << "actionProfile_dispersions"
                                            << "empty"
                                            << "ProfileForm"
                                            << "В этой директории ничего не найдено" << true;
    QTest::newRow("sum channels - simple") << "actionSumChannelsSimple"
                                           << "empty"
                                           << "SearchNativeForm"
                                           << "В этой директории ничего не найдено" << true;
    QTest::newRow("arrays - file") << "actionShowArraysFile"
                                   << "notes.dat"
                                   << "ArrayGrafik"
                                   << "The file must have the txt/pnt/pnthr extension!" << false;
    QTest::newRow("arrays - dir") << "actionShowArraysDir"
                                  << "empty"
                                  << "ArrayGrafik"
                                  << "There is no .txt files in directory!" << false;
}

// Whatever form refuses its file or directory, after its warning it is gone, and the work area shows
// what it showed before (or nothing, for the forms that empty it before reading).
void TestMainWindow::refusedFormGoes() {
    QFETCH(QString, actionName);
    QFETCH(QString, answer);
    QFETCH(QString, formClass);
    QFETCH(QString, warning);
    QFETCH(bool, previousStays);
    MainWindow w;
    RecordingDesktop desktop;
    desktop.fileAnswers << fixtures.filePath(answer);
    desktop.directoryAnswers << fixtures.filePath(answer);
    QPointer<QLabel> previous = new QLabel("previous view");
    WorkArea::install({previous});

    action(w, actionName)->trigger();
    const QList<RecordingDesktop::Call> warnings = desktop.callsOf("warning");
    QVERIFY(!warnings.isEmpty());
    QCOMPARE(warnings.last().title, QString("Error"));
    QCOMPARE(warnings.last().text, warning);
    QPointer<QWidget> form = const_cast<QWidget*>(warnings.last().parent);
    QVERIFY(form);
    QCOMPARE(QString(form->metaObject()->className()), formClass);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
    QLayout* area = w.centralWidget()->layout();
    if (previousStays) {
        QVERIFY(previous);
        QVERIFY(area);
        QCOMPARE(area->count(), 1);
        QCOMPARE(area->itemAt(0)->widget(), previous.data());
        QVERIFY(!previous->isHidden());
    } else {
        QVERIFY(previous.isNull());
        QVERIFY(!area || area->count() == 0);
    }
}

void TestMainWindow::helpDocuments_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("inWorkDir");
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("viewer");
    QTest::addColumn<QString>("opened");  // "work", "program" or "" for none
    QTest::addColumn<QString>("warning"); // the box's text before the paths, "" for no box
    QTest::newRow("help, working directory first")
        << "actionHelp"
        << "README_orv2_visual.pdf" << true << true << true << "work"
        << "";
    QTest::newRow("updates beside the program")
        << "actionUpdates"
        << "updates_orv2_visual.pdf" << false << true << true << "program"
        << "";
    QTest::newRow("no viewer") << "actionHelp"
                               << "README_orv2_visual.pdf" << true << false << false << "work"
                               << "No viewer could open the document:\n";
    QTest::newRow("missing") << "actionUpdates"
                             << "updates_orv2_visual.pdf" << false << false << true << ""
                             << "The document is missing:\n";
}

// A program started from another folder finds its documents beside itself. The desktop gets the
// document's absolute path (launchers refuse relative file URLs); a document that cannot be shown is
// reported with the paths looked in.
void TestMainWindow::helpDocuments() {
    QFETCH(QString, actionName);
    QFETCH(QString, document);
    QFETCH(bool, inWorkDir);
    QFETCH(bool, besideProgram);
    QFETCH(bool, viewer);
    QFETCH(QString, opened);
    QFETCH(QString, warning);
    QTemporaryDir workDir;
    QTemporaryDir programDir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir.path()));
    const QString workPath = QDir(workDir.path()).absoluteFilePath(document);
    const QString programPath = QDir(programDir.path()).absoluteFilePath(document);
    for (const auto& [wanted, path] :
         {std::pair{inWorkDir, workPath}, std::pair{besideProgram, programPath}}) {
        if (wanted) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    {
        MainWindow w;
        RecordingDesktop desktop;
        desktop.urlAnswer = viewer;
        desktop.programDirAnswer = programDir.path();
        action(w, actionName)->trigger();
        const QList<RecordingDesktop::Call> urls = desktop.callsOf("url");
        if (opened.isEmpty()) {
            QVERIFY(urls.isEmpty());
        } else {
            const QString path = opened == "work" ? workPath : programPath;
            QCOMPARE(urls.size(), 1);
            QCOMPARE(urls[0].text, "file://" + path);
            QVERIFY(QUrl(urls[0].text).isLocalFile());
        }
        const QList<RecordingDesktop::Call> boxes = desktop.boxes();
        if (warning.isEmpty()) {
            QVERIFY(boxes.isEmpty());
        } else {
            const QString paths = opened.isEmpty() ? workPath + "\n" + programPath : workPath;
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].kind, QString("warning"));
            QCOMPARE(boxes[0].title, QString("Error"));
            QVERIFY2(boxes[0].text.startsWith(warning + paths), qPrintable(boxes[0].text));
        }
    }
    QVERIFY(QDir::setCurrent(previous));
}

void TestMainWindow::about() {
    MainWindow w;
    RecordingDesktop desktop;
    action(w, "actionAbout")->trigger();
    QCOMPARE(desktop.calls.size(), 1);
    QCOMPARE(desktop.calls[0].kind, QString("about"));
    QCOMPARE(desktop.calls[0].title, QString("About"));
    const QStringList lines = desktop.calls[0].text.split('\n');
    QCOMPARE(lines.at(lines.size() - 2), QString("Version: Strellix-2-Visual 2025.01.14"));
    QVERIFY(QRegExp("Compiled at \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d").exactMatch(lines.last()));
    QCOMPARE(lines.at(lines.size() - 3), QString());
}

void TestMainWindow::otherMenuRunsItsViews_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("answer");  // relative to the fixture directory
    QTest::addColumn<QString>("title");   // of the one box expected, "" for none
    QTest::addColumn<QString>("text");    // %1 = the fixture directory
    QTest::addColumn<QString>("written"); // file the action must write, "" for none
    QTest::addColumn<bool>("plotted");
    QTest::newRow("arrays of a file") << "actionShowArraysFile"
                                      << "arrays/a.txt"
                                      << ""
                                      << ""
                                      << "" << true;
    QTest::newRow("arrays of a directory") << "actionShowArraysDir"
                                           << "arrays"
                                           << ""
                                           << ""
                                           << "" << true;
    QTest::newRow("arrays of an observation file") << "actionShowArraysFile"
                                                   << "obs.pnt"
                                                   << ""
                                                   << ""
                                                   << "" << true;
    QTest::newRow("result file to text")
        << "actionReadBinToText"
        << "f00_n0_av1.txt"
        << "Error" << QStringLiteral("Файл переписан в текстовый вид:\n%1/f00_n0_av1_text.txt")
        << "f00_n0_av1_text.txt" << false;
    QTest::newRow("observation file to text") << "actionReadBinToText"
                                              << "obs.pnt"
                                              << "Message"
                                              << "npoints=4 num=0 file=%1/obs_pnt.txt"
                                              << "obs_pnt.txt" << false;
}

void TestMainWindow::otherMenuRunsItsViews() {
    QFETCH(QString, actionName);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, written);
    QFETCH(bool, plotted);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("arrays"));
    {
        QFile f(dir.filePath("arrays/a.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("1\n2\n3\n");
    }
    ObsFileWriter::Description d;
    d.npoints = 4;
    d.modules = 1;
    d.rays = 2;
    d.nbands = 2;
    QVERIFY(ObsFileWriter::write(dir.filePath("obs.pnt"), d));
    QVERIFY(ResultFileWriter::write(dir.filePath("f00_n0_av1.txt"), ResultFileWriter::header(2, true),
                                    {{5, 1, {1, 2}}}, false));

    MainWindow w;
    RecordingDesktop desktop;
    (actionName == "actionShowArraysDir" ? desktop.directoryAnswers : desktop.fileAnswers)
        << dir.filePath(answer);
    action(w, actionName)->trigger();

    const QList<RecordingDesktop::Call> boxes = desktop.boxes();
    if (title.isEmpty()) {
        QVERIFY(boxes.isEmpty());
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().kind, QString("warning"));
        QCOMPARE(boxes.first().title, title);
        QCOMPARE(boxes.first().text, text.arg(dir.path()));
    }
    if (!written.isEmpty()) {
        QVERIFY(QFileInfo(dir.filePath(written)).size() > 0);
        // The rendering lives on as a hidden child of the window and leaves the work area alone.
        const QList<ShowInfo*> infos = w.findChildren<ShowInfo*>();
        QCOMPARE(infos.size(), 1);
        QVERIFY(infos.first()->isHidden());
    }
    QLayout* layout = w.centralWidget()->layout();
    if (plotted) {
        QVERIFY(layout);
        QCOMPARE(layout->count(), 1);
        auto* grafik = qobject_cast<ArrayGrafik*>(layout->itemAt(0)->widget());
        QVERIFY(grafik);
        QCOMPARE(grafik->parent(), w.centralWidget());
        QVERIFY(!grafik->arrGrafiks.isEmpty());
    } else {
        QVERIFY(!layout);
    }
}

void TestMainWindow::sizeChangedOncePerStateChange() {
    MainWindow w;
    QSignalSpy spy(&w, SIGNAL(mainWindowSizeChanged()));
    w.show();
    const int afterShow = spy.count();
    w.resize(450, 420);
    QCOMPARE(spy.count(), afterShow);
    w.showMaximized();
    QCOMPARE(spy.count(), afterShow + 1);
    w.showNormal();
    QCOMPARE(spy.count(), afterShow + 2);
    w.showMinimized();
    QCOMPARE(spy.count(), afterShow + 3);
}

void TestMainWindow::formsKeepTheWindowSize_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("formName");
    QTest::newRow("Fourier") << "actionOneFourier"
                             << "PulsarForm";
    QTest::newRow("FFA") << "actionOneFFA"
                         << "FfaForm";
}

// A form column taller than the window scrolls instead of stretching the window past the screen, and
// it is wide enough to show each of its widgets whole.
void TestMainWindow::formsKeepTheWindowSize() {
    QFETCH(QString, actionName);
    QFETCH(QString, formName);
    QTemporaryDir dir;
    ObsFileWriter::Description d;
    d.npoints = 40000;
    d.rays = 1;
    d.nbands = 1;
    const QString file = dir.filePath("long.pnt");
    QVERIFY(ObsFileWriter::write(file, d));

    MainWindow w;
    RecordingDesktop desktop;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    desktop.fileAnswers << file;
    action(w, actionName)->trigger();
    QTest::qWait(50);
    QVERIFY(desktop.boxes().isEmpty());
    QCOMPARE(w.size(), QSize(1024, 700));
    QVERIFY(w.minimumSizeHint().height() <= 700);

    QWidget* form = w.centralWidget()->findChild<QWidget*>(formName);
    QVERIFY(form && form->isVisible());
    auto* column = form->findChild<QScrollArea*>("scrollArea");
    QVERIFY(column);
    QCOMPARE(column->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(column->widget()->height() > column->viewport()->height()); // it does scroll
    QVERIFY2(column->widget()->minimumSizeHint().width() <= column->viewport()->width(),
             qPrintable(QString("%1 > %2")
                            .arg(column->widget()->minimumSizeHint().width())
                            .arg(column->viewport()->width())));
    QVERIFY(form->width() >= (formName == "FfaForm" ? 330 : 328));
}

void TestMainWindow::savedGeometryFitsTheScreen() {
    {
        MainWindow w;
        w.resize(3000, 3000);
    }
    MainWindow w;
    QVERIFY(w.screen());
    const QRect area = w.screen()->availableGeometry();
    QVERIFY2(area.contains(w.frameGeometry()), qPrintable(QString("%1x%2 at %3,%4 in %5x%6")
                                                              .arg(w.width())
                                                              .arg(w.height())
                                                              .arg(w.x())
                                                              .arg(w.y())
                                                              .arg(area.width())
                                                              .arg(area.height())));
    QVERIFY(w.width() > 600 && w.height() > 500); // as large as the screen lets it be
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
