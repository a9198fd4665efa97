#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/settings.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QtTest>

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
    void helpDocumentsAndAbout();
    void sizeChangedOncePerStateChange();
};

void TestMainWindow::initTestCase() {
    TestEnv::isolate();
    TestEnv::clearSettingsStore();
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

void TestMainWindow::helpDocumentsAndAbout() {
    MainWindow w;
    RecordingDesktop desktop;
    action(w, "actionHelp")->trigger();
    action(w, "actionUpdates")->trigger();
    action(w, "actionAbout")->trigger();
    QCOMPARE(desktop.calls.size(), 3);
    QCOMPARE(desktop.calls[0].text, QUrl::fromLocalFile("./README_orv2_visual.pdf").toString());
    QCOMPARE(desktop.calls[1].text, QUrl::fromLocalFile("./updates_orv2_visual.pdf").toString());
    QCOMPARE(desktop.calls[2].kind, QString("about"));
    QCOMPARE(desktop.calls[2].title, QString("About"));
    const QStringList lines = desktop.calls[2].text.split('\n');
    QCOMPARE(lines.at(lines.size() - 2), QString("Version: Strellix-2-Visual 2025.01.14"));
    QVERIFY(QRegExp("Compiled at \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d").exactMatch(lines.last()));
    QCOMPARE(lines.at(lines.size() - 3), QString());
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
