#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/cachedreader.h"
#include "core/reader.h"
#include "core/settings.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QAction>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestCachedReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void samePathReadsOnce();
    void changedFileIsReadAfresh_data();
    void changedFileIsReadAfresh();
    void recordCachedByHandIsTakenAsItIs();
    void otherPathFreesTheCachedRecordFirst();
    void pathsCompareExactly();
    void notOwnerIsNotFreed();
    void recordWithoutPointsIsReadAgain();
    void secondFileFromInsideARead();

private:
    QString writeFile(const QString& name, int npoints, float value);
    // Reads through the cache and tells whether the file was read (the bar moved).
    bool read(const QString& path, Data& data);

    QTemporaryDir dir;
    QProgressBar* bar = nullptr;
    RecordingDesktop* desktop = nullptr;
};

QString TestCachedReader::writeFile(const QString& name, int npoints, float value) {
    ObsFileWriter::Description d;
    d.npoints = npoints;
    d.nbands = 6;
    d.rays = 2;
    d.value = [value](int p, int, int, int) { return value + p; };
    const QString path = dir.filePath(name);
    ObsFileWriter::write(path, d);
    return path;
}

bool TestCachedReader::read(const QString& path, Data& data) {
    bar->setValue(50);
    QSignalSpy spy(bar, &QProgressBar::valueChanged);
    data = CachedReader::readData(path, bar, data);
    return !spy.isEmpty();
}

void TestCachedReader::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TestCachedReader::init() {
    bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->hide();
    desktop = new RecordingDesktop;
}

void TestCachedReader::cleanup() {
    RecordFixture::dropCached();
    delete bar;
    delete desktop;
}

void TestCachedReader::samePathReadsOnce() {
    const QString a = writeFile("a.pnt", 1500, 1.0f);
    Data data;
    QVector<int> seen;
    bool shownWhileReading = false;
    auto conn = connect(bar, &QProgressBar::valueChanged, [&](int v) {
        seen << v;
        shownWhileReading = bar->isVisible();
    });
    QVERIFY(read(a, data));
    disconnect(conn);
    QCOMPARE(seen, (QVector<int>{50, 0, 66, 100}));
    QVERIFY(shownWhileReading);
    QVERIFY(!bar->isVisible());
    QCOMPARE(data.npoints, 1500);
    QCOMPARE(Settings::getInstance()->getData().samples, data.samples);

    Data again;
    QVERIFY(!read(a, again));
    QVERIFY(!bar->isVisible());
    QCOMPARE(again.samples, data.samples);
    QCOMPARE(again.samples[0][6][1][1499], 1500.0f);
}

void TestCachedReader::changedFileIsReadAfresh_data() {
    QTest::addColumn<int>("npoints");
    QTest::addColumn<int>("secondsLater"); // the rewritten file's modification time, after the first
    QTest::newRow("more points") << 1200 << 0;
    QTest::newRow("same size, later time") << 1000 << 10;
}

// A file rewritten since it was cached is read again, the cached arrays freed first (the leak checker
// would see them otherwise); unchanged, it comes from the cache.
void TestCachedReader::changedFileIsReadAfresh() {
    QFETCH(int, npoints);
    QFETCH(int, secondsLater);
    const QString a = writeFile("changing.pnt", 1000, 1.0f);
    QFile file(a);
    const QDateTime written = QFileInfo(a).lastModified();
    Data data;
    QVERIFY(read(a, data));
    QVERIFY(!read(a, data));

    QCOMPARE(writeFile("changing.pnt", npoints, 5.0f), a);
    if (secondsLater > 0) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written.addSecs(secondsLater), QFileDevice::FileModificationTime));
        file.close();
    } else {
        // Same second or not, the size alone tells.
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
        file.close();
    }
    QVERIFY(read(a, data));
    QCOMPARE(data.npoints, npoints);
    QCOMPARE(data.samples[0][0][0][0], 5.0f);
    QCOMPARE(Settings::getInstance()->getData().samples, data.samples);
    QVERIFY(!read(a, data));
}

// Only what the cached reading read itself is checked against the disk.
void TestCachedReader::recordCachedByHandIsTakenAsItIs() {
    const QString a = writeFile("byhand.pnt", 100, 1.0f);
    Data record = RecordFixture::shaped(1, 1, 1, 10);
    record.filePath = a;
    QVERIFY(allocSamples(record));
    Settings::getInstance()->setData(record);
    Data data;
    QVERIFY(!read(a, data));
    QCOMPARE(data.samples, record.samples);
    QCOMPARE(data.npoints, 10);
}

void TestCachedReader::otherPathFreesTheCachedRecordFirst() {
    const QString a = writeFile("a.pnt", 100, 1.0f);
    const QString b = writeFile("b.pnt", 100, 2.0f);
    Data data;
    QVERIFY(read(a, data));
    bool cacheEmptiedDuringB = false;
    auto conn = connect(bar, &QProgressBar::valueChanged, [&](int v) {
        if (v == 0) {
            const Data cached = Settings::getInstance()->getData();
            cacheEmptiedDuringB = !cached.samples && cached.filePath.isEmpty() && cached.modules == -1;
        }
    });
    QVERIFY(read(b, data));
    disconnect(conn);
    QVERIFY(cacheEmptiedDuringB);
    QCOMPARE(data.samples[0][0][0][0], 2.0f);
    // A's arrays were freed then (the sanitizer would report a leak otherwise); A is read anew.
    QVERIFY(read(a, data));
    QCOMPARE(data.samples[0][0][0][0], 1.0f);
    QCOMPARE(Settings::getInstance()->getData().filePath, a);
}

void TestCachedReader::pathsCompareExactly() {
    const QString a = writeFile("c.pnt", 100, 1.0f);
    Data data;
    QVERIFY(read(a, data));
    QVERIFY(read(dir.path() + "/./c.pnt", data));
    QVERIFY(read(a, data));
}

void TestCachedReader::notOwnerIsNotFreed() {
    Data foreign = RecordFixture::shaped(1, 1, 1, 10);
    foreign.filePath = "elsewhere.pnt";
    QVERIFY(allocSamples(foreign));
    foreign.notOwner = true;
    Settings::getInstance()->setData(foreign);

    Data data;
    QVERIFY(read(writeFile("d.pnt", 100, 1.0f), data));
    foreign.samples[0][0][0][9] = 3.0f; // still ours to use
    foreign.notOwner = false;
    freeSamples(foreign);
}

void TestCachedReader::recordWithoutPointsIsReadAgain() {
    const QString empty = dir.filePath("nopoints.pnt");
    ObsFileWriter::writeRaw(empty, ObsFileWriter::passportFromLines({"nbands 6", "modulus 1", "rays 2"}));
    Data data;
    QVERIFY(read(empty, data));
    QCOMPARE(data.npoints, 0);
    QVERIFY(read(empty, data));
    QCOMPARE(Settings::getInstance()->getData().filePath, empty);
}

// A menu entry or a nested read used from the event loop while a file is being read must neither
// open a form nor disturb the read under way.
void TestCachedReader::secondFileFromInsideARead() {
    MainWindow window;
    const QString a = writeFile("big.pnt", 5000, 1.0f);
    const QString b = writeFile("other.pnt", 300, 7.0f);
    desktop->fileAnswers << b << b;
    QAction* showNative = window.findChild<QAction*>("actionShow_native_data");
    QAction* fourier = window.findChild<QAction*>("actionFourier");
    QVERIFY(showNative && fourier);

    bool busySeen = false;
    Data nested;
    QTimer::singleShot(0, [&] {
        busySeen = BusyGuard::busy();
        showNative->trigger();
        fourier->trigger();
        Reader reader;
        nested = reader.readFile(b, false);
    });
    Data data;
    QVERIFY(read(a, data));
    QVERIFY(busySeen);
    QVERIFY(desktop->callsOf("open").isEmpty());
    QVERIFY(!BusyGuard::busy());
    QCOMPARE(data.npoints, 5000);
    QCOMPARE(data.samples[0][3][1][4999], 5000.0f);
    QCOMPARE(Settings::getInstance()->getData().samples, data.samples);
    QCOMPARE(nested.npoints, 300);
    QCOMPARE(nested.samples[0][0][0][299], 306.0f);
    freeSamples(nested);
}

QTEST_MAIN(TestCachedReader)
#include "tst_cachedreader.moc"
