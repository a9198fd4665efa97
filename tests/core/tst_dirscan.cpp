#include "core/busyguard.h"
#include "core/dirscan.h"
#include "support/messagelog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <new>
#include <stdexcept>

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

// The global pool at a given size while it lives.
class PoolSize {
public:
    explicit PoolSize(int threads) : before(QThreadPool::globalInstance()->maxThreadCount()) {
        QThreadPool::globalInstance()->setMaxThreadCount(threads);
    }
    ~PoolSize() { QThreadPool::globalInstance()->setMaxThreadCount(before); }
    PoolSize(const PoolSize&) = delete;
    PoolSize& operator=(const PoolSize&) = delete;

private:
    const int before;
};

// 400 empty files f000.txt .. f399.txt, listed in that order.
QStringList fourHundredFiles(const QString& dir) {
    for (int i = 0; i < 400; ++i) {
        touch(dir + QString("/f%1.txt").arg(i, 3, 10, QChar('0')));
    }
    return DirScan::files(dir, {"*.txt"});
}
} // namespace

class TestDirScan : public QObject {
    Q_OBJECT
private slots:
    void listsInNaturalOrder();
    void progressSteps();
    void nullBarAndStop();
    void parallelMergesInScanOrder_data();
    void parallelMergesInScanOrder();
    void throwingReadLeavesFileOut_data();
    void throwingReadLeavesFileOut();
    void throwingCallerEndsWorkersFirst_data();
    void throwingCallerEndsWorkersFirst();
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
    // A visit that throws ends the scan as a stop does, and the caller hears of it.
    RecordingBar thrown;
    QVERIFY_EXCEPTION_THROWN(DirScan::run(dir.path(), {"*.txt"}, &thrown,
                                          [](int i, const QString&) -> DirScan::Step {
                                              if (i == 1) {
                                                  throw std::bad_alloc();
                                              }
                                              return DirScan::Step::Visited;
                                          }),
                             std::bad_alloc);
    QVERIFY(thrown.isHidden());
    QVERIFY(thrown.updatesEnabled());
    QVERIFY(!BusyGuard::busy());
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

void TestDirScan::throwingReadLeavesFileOut_data() {
    QTest::addColumn<int>("threads");
    QTest::newRow("on a worker") << 8;
    QTest::newRow("on this thread") << 1; // a pool of one: this thread reads every file
}

// A read that throws, as a damaged file whose fields do not fit in memory does, costs that file alone:
// one line names it, it is neither merged nor stepped, the others come in order, and the scan ends. A
// chunk left unread by a worker's throw would hang the scan: the test library's function timeout ends
// such a run.
void TestDirScan::throwingReadLeavesFileOut() {
    QFETCH(int, threads);
    QTemporaryDir dir;
    const QStringList paths = fourHundredFiles(dir.path());
    QCOMPARE(paths.size(), 400);
    const int damaged = 10; // a step position: the bar must skip it
    RecordingBar serialBar;
    DirScan::run(dir.path(), {"*.txt"}, &serialBar, [&](int i, const QString&) {
        return i == damaged ? DirScan::Step::Skipped : DirScan::Step::Visited;
    });

    PoolSize pool(threads);
    MessageLog log;
    RecordingBar bar;
    QStringList merged;
    const QString damagedPath = paths[damaged];
    QThread* gui = QThread::currentThread();
    enum { NotYet, ThrownHere, ThrownOnWorker };
    std::atomic<int> thrown{NotYet};
    const bool done = DirScan::runParallel<QString>(
        dir.path(), {"*.txt"}, &bar,
        [&](const QString& path) {
            if (path == damagedPath) {
                thrown = QThread::currentThread() == gui ? ThrownHere : ThrownOnWorker;
                throw std::bad_alloc();
            }
            return path;
        },
        [&](int i, const QString& path, QString& read) {
            // With workers, the first merge waits for the throw: this thread claims no later file
            // meanwhile, so a worker reads the damaged one.
            QDeadlineTimer patience(10000);
            while (i == 0 && threads > 1 && thrown == NotYet && !patience.hasExpired()) {
                QThread::yieldCurrentThread();
            }
            merged << (read == path && path == paths[i] ? path : "wrong: " + path);
            return DirScan::Step::Visited;
        });

    QVERIFY(done);
    QCOMPARE(int(thrown), threads > 1 ? int(ThrownOnWorker) : int(ThrownHere));
    QStringList expected = paths;
    expected.removeAt(damaged);
    QCOMPARE(merged, expected);
    const QStringList errors = log.linesStartingWith("Error!");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(damagedPath), qPrintable(errors.first()));
    QCOMPARE(bar.values, serialBar.values);
    QVERIFY(!BusyGuard::busy());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(bar.isHidden());
    QVERIFY(bar.updatesEnabled());
}

void TestDirScan::throwingCallerEndsWorkersFirst_data() {
    QTest::addColumn<int>("throwAt"); // the merge index that throws; -1: the count of listed paths throws
    QTest::newRow("merge") << 20;
    QTest::newRow("listed") << -1;
}

// An exception from the caller's own code reaches it only after every worker has ended: none is reading
// then, none starts later, and busy state, cursor and bar are as before the scan; a worker outliving the
// scan would read paths and slots already freed.
void TestDirScan::throwingCallerEndsWorkersFirst() {
    QFETCH(int, throwAt);
    QTemporaryDir dir;
    QCOMPARE(fourHundredFiles(dir.path()).size(), 400);
    PoolSize pool(8);
    std::atomic<int> reads{0};
    std::atomic<int> reading{0};
    RecordingBar bar;
    int readsAtCatch = -1;
    int readingAtCatch = -1;
    try {
        DirScan::runParallel<int>(
            dir.path(), {"*.txt"}, &bar,
            [&](const QString&) {
                ++reads;
                ++reading;
                QThread::usleep(500); // workers are mid-read when the merge throws
                --reading;
                return 1;
            },
            [throwAt](int i, const QString&, int&) {
                if (i == throwAt) {
                    throw std::runtime_error("merge");
                }
                return DirScan::Step::Visited;
            },
            [throwAt](int) {
                if (throwAt < 0) {
                    throw std::runtime_error("listed");
                }
            });
    } catch (const std::runtime_error&) {
        readsAtCatch = reads;
        readingAtCatch = reading;
    }
    QCOMPARE(readingAtCatch, 0);
    QThreadPool::globalInstance()->waitForDone(); // a worker still alive would read on meanwhile
    QCOMPARE(reads.load(), readsAtCatch);
    QVERIFY2(readsAtCatch < 400, qPrintable(QString::number(readsAtCatch)));
    if (throwAt < 0) {
        QCOMPARE(readsAtCatch, 0);
    }
    QVERIFY(!BusyGuard::busy());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(bar.isHidden());
    QVERIFY(bar.updatesEnabled());
}

QTEST_MAIN(TestDirScan)
#include "tst_dirscan.moc"
