#include "core/busyguard.h"
#include "core/dirscan.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QtTest>

namespace {
void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// Records every value the bar takes, and the values it paints.
class RecordingBar : public QProgressBar {
public:
    QVector<int> values;
    QVector<int> painted;
    RecordingBar() {
        connect(this, &QProgressBar::valueChanged, [this](int v) { values << v; });
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        painted << value();
        QProgressBar::paintEvent(event);
    }
};
} // namespace

class TestDirScan : public QObject {
    Q_OBJECT
private slots:
    void listsInNaturalOrder();
    void progressSteps();
    void nullBarAndStop();
    void parallelMergesInScanOrder_data();
    void parallelMergesInScanOrder();
};

void TestDirScan::listsInNaturalOrder() {
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char* name :
         {"b/p2020.txt", "a/z/P2021.TXT", "p2019.txt", "a/p2020.txt", "a/q2020.txt", "B/p2020.txt",
          "dm19/p2020.txt", "dm3/p2020.txt", "p2020_dm206_x.txt", "p2020_dm20_x.txt", "p2020_dm1_x.txt"}) {
        touch(d + "/" + name);
    }
    QDir().mkpath(d + "/p2022.txt"); // a directory, not a file
    // Letters by code unit, upper case first; the numbers inside names rise.
    QCOMPARE(DirScan::files(d, {"p20*.txt"}),
             (QStringList{d + "/B/p2020.txt", d + "/a/p2020.txt", d + "/a/z/P2021.TXT", d + "/b/p2020.txt",
                          d + "/dm3/p2020.txt", d + "/dm19/p2020.txt", d + "/p2019.txt",
                          d + "/p2020_dm1_x.txt", d + "/p2020_dm20_x.txt", d + "/p2020_dm206_x.txt"}));
    QVERIFY(DirScan::files(d + "/missing", {"*.txt"}).isEmpty());
    // Paths left out before sorting: the others in the same order.
    const auto hasDm = [](const QString& path) { return path.contains("dm"); };
    QStringList withDm = DirScan::files(d, {"p20*.txt"});
    withDm.erase(std::remove_if(withDm.begin(), withDm.end(), [&](const QString& p) { return !hasDm(p); }),
                 withDm.end());
    QCOMPARE(withDm.size(), 5);
    QCOMPARE(DirScan::files(d, {"p20*.txt"}, hasDm), withDm);
}

void TestDirScan::progressSteps() {
    QTemporaryDir dir;
    for (int i = 0; i < 25; ++i) {
        touch(dir.path() + QString("/f%1.txt").arg(i, 2, 10, QChar('0')));
    }
    RecordingBar bar;
    QStringList seen;
    bool busyInside = false;
    const bool done = DirScan::run(dir.path(), {"*.txt"}, &bar, [&](int i, const QString& path) {
        busyInside = BusyGuard::busy();
        seen << QFileInfo(path).fileName();
        // Files 10..19 are not ours: position 10 makes no step.
        return i >= 10 && i < 20 ? DirScan::Step::Skipped : DirScan::Step::Visited;
    });
    QVERIFY(done);
    QVERIFY(busyInside);
    QVERIFY(!BusyGuard::busy());
    QCOMPARE(seen.size(), 25);
    QCOMPARE(seen.first(), QString("f00.txt"));
    QCOMPARE(bar.values, (QVector<int>{0, 80, 100})); // 0 at start, 20 * 100 / 25, the end
    QVERIFY(bar.isHidden());
    // The bar paints in the scan's event passes, the end included, and repaints at once again after it.
    QVERIFY(!bar.painted.isEmpty());
    QCOMPARE(bar.painted.last(), 100);
    QVERIFY(bar.updatesEnabled());
}

void TestDirScan::nullBarAndStop() {
    QTemporaryDir dir;
    for (int i = 0; i < 5; ++i) {
        touch(dir.path() + QString("/f%1.txt").arg(i));
    }
    int visited = 0;
    RecordingBar bar;
    QVERIFY(!DirScan::run(dir.path(), {"*.txt"}, &bar, [&](int i, const QString&) {
        ++visited;
        return i == 2 ? DirScan::Step::Stop : DirScan::Step::Visited;
    }));
    QCOMPARE(visited, 3);
    QCOMPARE(bar.values, QVector<int>{0}); // a stopped scan never reaches 100, and hides the bar too
    QVERIFY(bar.isHidden());
    QVERIFY(bar.updatesEnabled());
    int none = 0;
    QVERIFY(DirScan::run(dir.path() + "/missing", {"*.txt"}, nullptr, [&](int, const QString&) {
        ++none;
        return DirScan::Step::Visited;
    }));
    QCOMPARE(none, 0);
}

void TestDirScan::parallelMergesInScanOrder_data() {
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("stopAt"); // -1: no stop
    QTest::newRow("one thread") << 1 << -1;
    QTest::newRow("eight threads") << 8 << -1;
    QTest::newRow("eight threads, stop") << 8 << 57;
}

// Every path is read once, off or on this thread, and merged here in list order with its own result,
// with the progress of a serial scan; a pool of one reads everything on this thread.
void TestDirScan::parallelMergesInScanOrder() {
    QFETCH(int, threads);
    QFETCH(int, stopAt);
    QTemporaryDir dir;
    for (int i = 0; i < 300; ++i) {
        touch(dir.path() + QString("/d%1/f%2.txt").arg(i % 7).arg(i, 3, 10, QChar('0')));
    }
    const QStringList paths = DirScan::files(dir.path(), {"*.txt"});
    const auto stepOf = [stopAt](int i) {
        return i == stopAt ? DirScan::Step::Stop
                           : (i % 3 == 1 ? DirScan::Step::Skipped : DirScan::Step::Visited);
    };
    RecordingBar serialBar;
    DirScan::run(dir.path(), {"*.txt"}, &serialBar, [&](int i, const QString&) { return stepOf(i); });

    QThreadPool* pool = QThreadPool::globalInstance();
    const int poolSize = pool->maxThreadCount();
    pool->setMaxThreadCount(threads);
    struct Read {
        QString path;
        bool here = false;
    };
    QThread* gui = QThread::currentThread();
    RecordingBar bar;
    QStringList merged;
    bool busyInside = true;
    bool allReadHere = true;
    const bool done = DirScan::runParallel<Read>(
        dir.path(), {"*.txt"}, &bar,
        [gui](const QString& path) {
            return Read{path, QThread::currentThread() == gui};
        },
        [&](int i, const QString& path, Read& r) {
            busyInside = busyInside && BusyGuard::busy();
            allReadHere = allReadHere && r.here;
            merged << (r.path == path && path == paths[i] ? path : "wrong: " + path);
            return stepOf(i);
        });
    pool->setMaxThreadCount(poolSize);

    QCOMPARE(done, stopAt < 0);
    QCOMPARE(merged, stopAt < 0 ? paths : QStringList(paths.mid(0, stopAt + 1)));
    QCOMPARE(bar.values, serialBar.values);
    QVERIFY(bar.updatesEnabled());
    if (stopAt < 0) {
        QCOMPARE(bar.painted.last(), 100);
    }
    QVERIFY(busyInside);
    QVERIFY(!BusyGuard::busy());
    if (threads == 1) {
        QVERIFY(allReadHere);
    }
}

QTEST_MAIN(TestDirScan)
#include "tst_dirscan.moc"
