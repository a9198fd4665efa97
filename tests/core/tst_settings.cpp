#include "app/mainwindow.h"
#include "core/settings.h"
#include "support/recordfixture.h"
#include "support/testenv.h"

#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void oneObject();
    void emptyRecordBeforeAnyRead();
    void cachedRecordSharesSamples();
    void pathSettersIgnoreEmpty();
    void directoryFormChoices();
    void registeredWindowIsReturned();
};

void TestSettings::oneObject() {
    QCOMPARE(Settings::getInstance(), Settings::getInstance());
}

void TestSettings::emptyRecordBeforeAnyRead() {
    Data d = Settings::getInstance()->getData();
    QCOMPARE(d.modules, -1);
    QCOMPARE(d.firstModule, 1);
    QVERIFY(d.samples == nullptr);
    QVERIFY(d.filePath != "/some/file.pnt");
}

void TestSettings::cachedRecordSharesSamples() {
    Data d = RecordFixture::shaped(1, 1, 1, 4);
    d.filePath = "/tmp/a.pnt";
    QVERIFY(allocSamples(d));
    Settings::getInstance()->setData(d);
    Data back = Settings::getInstance()->getData();
    QCOMPARE(back.samples, d.samples);
    QCOMPARE(back.filePath, QString("/tmp/a.pnt"));
    back.samples[0][0][0][3] = 2.5f;
    QCOMPARE(d.samples[0][0][0][3], 2.5f);
    RecordFixture::dropCached();
}

void TestSettings::pathSettersIgnoreEmpty() {
    Settings* s = Settings::getInstance();
    s->setLastOpenPath("/data");
    s->setLastOpenPath("");
    s->setLastOpenPath(QString());
    QCOMPARE(s->getLastOpenPath(), QString("/data"));
    s->setLastSavePath("/save");
    s->setLastSavePath("");
    QCOMPARE(s->getLastSavePath(), QString("/save"));
    s->setLastOpenFile("/f.pnt");
    s->setLastOpenFile("");
    QCOMPARE(s->getLastOpenFile(), QString("/f.pnt"));
    s->setGraphWidth("800");
    s->setGraphWidth("");
    QCOMPARE(s->getGraphWidth(), QString(""));
    s->setGraphHeight("600");
    QCOMPARE(s->getGraphHeight(), QString("600"));
}

void TestSettings::directoryFormChoices() {
    Settings* s = Settings::getInstance();
    QVERIFY(!s->getShowDispersion().isNull());
    QVERIFY(!s->getPeriod().isNull());
    s->setFourierModule(3);
    s->setFourierRay(5);
    s->setAverageCount(2);
    s->setDispersion(26);
    s->setShowDispersion("26.2");
    s->setPeriod("3.03");
    s->setHarmonicNumber(66);
    QCOMPARE(s->getFourierModule(), 3);
    QCOMPARE(s->getFourierRay(), 5);
    QCOMPARE(s->getAverageCount(), 2);
    QCOMPARE(s->getDispersion(), 26);
    QCOMPARE(s->getShowDispersion(), QString("26.2"));
    QCOMPARE(s->getPeriod(), QString("3.03"));
    QCOMPARE(s->getHarmonicNumber(), 66);
}

void TestSettings::registeredWindowIsReturned() {
    MainWindow window;
    Settings* s = Settings::getInstance();
    QCOMPARE(s->getMainWindow(), &window);
    QCOMPARE(s->getMainWindowUi().centralwidget, window.centralWidget());
    QCOMPARE(s->getProgressBar(), window.progressBar);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
