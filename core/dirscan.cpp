#include "core/dirscan.h"

#include "core/busyguard.h"
#include "core/naturalorder.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFuture>
#include <QPointer>
#include <QProgressBar>
#include <QThreadPool>
#include <QVector>
#include <QtConcurrent/QtConcurrentRun>

#ifdef __SANITIZE_THREAD__
#include <sanitizer/tsan_interface.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
void showAtStart(QProgressBar* bar) {
    if (bar) {
        bar->show();
        bar->setValue(0);
    }
}

// A progress bar repaints itself at once whenever its text changes, a hundred times a scan, each time
// flushing the window from the GUI thread. While a scan runs, the bar's updates are off, so that a value
// set is only recorded, and the scan's event passes repaint the bar through an ordinary paint event, at
// most every 50 ms and at the first and the last pass.
class QuietBar {
public:
    explicit QuietBar(QProgressBar* bar) : bar(bar && bar->updatesEnabled() ? bar : nullptr) {
        if (this->bar) {
            this->bar->setUpdatesEnabled(false);
        }
    }
    ~QuietBar() { restore(); }
    QuietBar(const QuietBar&) = delete;
    QuietBar& operator=(const QuietBar&) = delete;

    void processEvents(bool last = false) {
        const bool paint = bar && (last || !sincePaint.isValid() || sincePaint.elapsed() >= 50);
        if (paint) {
            bar->setUpdatesEnabled(true); // asks for a repaint in the pass below
            sincePaint.start();
        }
        BusyGuard::processEvents();
        if (paint && bar && !last) {
            bar->setUpdatesEnabled(false);
        }
    }
    // Updates back on, before the bar is hidden.
    void restore() {
        if (bar) {
            bar->setUpdatesEnabled(true);
            bar = nullptr;
        }
    }

private:
    QPointer<QProgressBar> bar;
    QElapsedTimer sincePaint;
};

// The progress steps of a parallel scan: the bar moves at the same positions as in a serial scan, but
// the event loop runs there only every 10 ms; files read eight at a time come too fast for a pass at
// every tenth of them to cost nothing.
class ThrottledSteps {
public:
    ThrottledSteps(QProgressBar* bar, QuietBar& quiet, qint64 n) : bar(bar), quiet(quiet), n(n) {
        sincePass.start();
    }
    void at(int i, DirScan::Step step) {
        if (step != DirScan::Step::Visited || i % 10 != 0) {
            return;
        }
        if (bar) {
            bar->setValue(int(qint64(i) * 100 / n));
        }
        if (sincePass.elapsed() >= 10) {
            quiet.processEvents();
            sincePass.restart();
        }
    }

private:
    QProgressBar* bar;
    QuietBar& quiet;
    qint64 n;
    QElapsedTimer sincePass;
};

// The end of every scan: 100 and a last paint when it ran to the end. The bar is hidden whatever was
// found: a bar left standing at 100 after an empty directory looks like a hang.
bool finish(QProgressBar* bar, QuietBar& quiet, bool completed) {
    if (completed) {
        if (bar) {
            bar->setValue(100);
        }
        quiet.processEvents(true);
    }
    quiet.restore();
    if (bar) {
        bar->hide();
    }
    return completed;
}

// The pool hands a task to its thread inside Qt, where a ThreadSanitizer build cannot see it: the
// handover is told to the sanitizer, so that what the caller prepared counts as done before the task.
void handOver(void* token) {
#ifdef __SANITIZE_THREAD__
    __tsan_release(token);
#else
    (void)token;
#endif
}

void takeOver(void* token) {
#ifdef __SANITIZE_THREAD__
    __tsan_acquire(token);
#else
    (void)token;
#endif
}

// Hands out the paths to the workers in chunks, in list order and at most `ahead` chunks beyond the
// one being merged, so that a stop wastes little reading and unmerged results stay few. A thread
// sleeps and wakes once per chunk, not per file: on a busy machine every wake-up costs a time slice.
class ReadQueue {
public:
    ReadQueue(int count, int chunk, int ahead)
        : ahead(ahead), ready(std::size_t((count + chunk - 1) / chunk), 0), failed(std::size_t(count), 0) {}

    // The next chunk to read, or -1 when there is none or the scan stopped.
    int claim() {
        std::unique_lock<std::mutex> lock(mutex);
        ++idle;
        workerWake.wait(lock, [this] { return stopped || next >= chunks() || next < merged + ahead; });
        --idle;
        return stopped || next >= chunks() ? -1 : next++;
    }
    // The merger's own claim of chunk c when no worker has taken it yet (a busy pool).
    bool claimIfFree(int c) {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopped || next != c) {
            return false;
        }
        ++next;
        return true;
    }
    // A read of path i threw. Written by the reader before it marks the chunk read, so the merger sees
    // it once waitRead() said so.
    void fail(int i) { failed[std::size_t(i)] = 1; }
    bool readFailed(int i) const { return failed[std::size_t(i)] != 0; }
    void markRead(int c) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            ready[std::size_t(c)] = 1;
        }
        mergerWake.notify_one();
    }
    // Waits a little for chunk c; false when it is not read yet.
    bool waitRead(int c, std::chrono::milliseconds patience) {
        std::unique_lock<std::mutex> lock(mutex);
        return mergerWake.wait_for(lock, patience, [this, c] { return ready[std::size_t(c)] != 0; });
    }
    void markMerged(int c) {
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            merged = c + 1;
            wake = idle > 0 && next < chunks();
        }
        if (wake) {
            workerWake.notify_all();
        }
    }
    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopped.store(true, std::memory_order_relaxed);
        }
        workerWake.notify_all();
    }
    // Asked before every file, so that after a stop a chunk read halfway is left there; it guards nothing
    // the reader uses, hence no lock and no ordering.
    bool stopRequested() const { return stopped.load(std::memory_order_relaxed); }
    // After the workers ended: what they did last is seen here before the queue goes.
    void joined() { std::lock_guard<std::mutex> lock(mutex); }

private:
    int chunks() const { return int(ready.size()); }

    std::mutex mutex;
    std::condition_variable workerWake;
    std::condition_variable mergerWake;
    const int ahead;
    int next = 0;
    int merged = 0;
    int idle = 0;
    // Set under the mutex, so that a waiting worker cannot miss it; read without it between files.
    std::atomic<bool> stopped{false};
    std::vector<char> ready;
    std::vector<char> failed;
};

// The end of a scan, the same on a normal return and while an exception from the caller's visit,
// begin or merge unwinds: the workers of a parallel scan are stopped and waited for before the paths,
// the queue and the result slots they use go, then the bar is left as finish() leaves it. Declared
// after all of those.
class ScanEnd {
public:
    ScanEnd(QProgressBar* bar, QuietBar& quiet, ReadQueue* queue = nullptr,
            QVector<QFuture<void>>* running = nullptr)
        : bar(bar), quiet(quiet), queue(queue), running(running) {}
    ~ScanEnd() {
        if (!ended) {
            joinWorkers();
            finish(bar, quiet, false);
        }
    }
    ScanEnd(const ScanEnd&) = delete;
    ScanEnd& operator=(const ScanEnd&) = delete;

    bool end(bool completed) {
        joinWorkers();
        finish(bar, quiet, completed);
        ended = true;
        return completed;
    }

private:
    void joinWorkers() {
        if (!queue) {
            return;
        }
        queue->stop();
        for (QFuture<void>& f : *running) {
            f.waitForFinished(); // a worker never throws: its reads are caught one by one
        }
        queue->joined();
    }

    QProgressBar* bar;
    QuietBar& quiet;
    ReadQueue* queue;
    QVector<QFuture<void>>* running;
    bool ended = false;
};
} // namespace

QStringList DirScan::files(const QString& dir, const QStringList& nameFilters) {
    return files(dir, nameFilters, {});
}

QStringList DirScan::files(const QString& dir, const QStringList& nameFilters,
                           const std::function<bool(const QString& path)>& keep) {
    QStringList paths;
    QDirIterator it(dir, nameFilters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next();
        if (!keep || keep(path)) {
            paths.append(std::move(path));
        }
    }
    NaturalOrder::sort(paths);
    return paths;
}

bool DirScan::run(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                  const std::function<Step(int index, const QString& path)>& visit) {
    BusyGuard busy;
    showAtStart(bar);
    QuietBar quiet(bar);
    ScanEnd end(bar, quiet);
    const QStringList paths = files(dir, nameFilters);
    const qint64 n = paths.size();
    bool completed = true;
    for (int i = 0; i < paths.size(); ++i) {
        const Step step = visit(i, paths[i]);
        if (step == Step::Stop) {
            completed = false;
            break;
        }
        if (step == Step::Visited && i % 10 == 0) {
            if (bar) {
                bar->setValue(int(qint64(i) * 100 / n));
            }
            quiet.processEvents();
        }
    }
    return end.end(completed);
}

bool DirScan::runParallelSlots(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                               const std::function<void(const QStringList& paths)>& begin,
                               const std::function<void(int index, const QString& path)>& read,
                               const std::function<Step(int index, const QString& path)>& merge) {
    BusyGuard busy;
    showAtStart(bar);
    QuietBar quiet(bar);
    const QStringList paths = files(dir, nameFilters);
    const int n = paths.size();

    // The calling thread reads too, whenever the chunk it is to merge next is still unclaimed: with a
    // pool of one thread the whole scan runs here, as a serial one.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = std::max(1, pool->maxThreadCount());
    // About eight chunks per thread, of at most 16 files: small files cost their opening more than their
    // parse, and the merge should not wait long for the first chunk. Two chunks per thread may be read
    // ahead of the merge: enough to keep the threads busy, and few passing buffers in their heaps.
    const int chunk = std::max(1, std::min(16, n / (8 * threads)));
    const int chunks = (n + chunk - 1) / chunk;
    const int workers = std::min(threads - 1, chunks);
    ReadQueue queue(n, chunk, 2 * threads);
    QVector<QFuture<void>> running;
    running.reserve(workers); // a started worker whose future is lost would never be waited for
    ScanEnd end(bar, quiet, &queue, &running);
    begin(paths);

    // A read that throws (a damaged file whose fields do not fit in memory) costs that file alone: its
    // chunk is marked read all the same, or the merge would wait for it forever.
    const auto readChunk = [&queue, &read, &paths, n, chunk](int c) {
        for (int i = c * chunk; i < std::min(n, (c + 1) * chunk) && !queue.stopRequested(); ++i) {
            try {
                read(i, paths[i]);
            } catch (...) {
                queue.fail(i);
            }
        }
        queue.markRead(c);
    };
    handOver(&queue);
    for (int w = 0; w < workers; ++w) {
        running.append(QtConcurrent::run(pool, [&queue, &readChunk] {
            takeOver(&queue);
            for (int c = queue.claim(); c >= 0; c = queue.claim()) {
                readChunk(c);
            }
        }));
    }

    ThrottledSteps steps(bar, quiet, n);
    bool completed = true;
    for (int c = 0; c < chunks && completed; ++c) {
        if (queue.claimIfFree(c)) {
            readChunk(c);
        }
        // A slow file keeps the window painting while the workers go on.
        while (!queue.waitRead(c, std::chrono::milliseconds(50))) {
            quiet.processEvents();
        }
        for (int i = c * chunk; i < std::min(n, (c + 1) * chunk); ++i) {
            if (queue.readFailed(i)) {
                qDebug().noquote() << "Error! The file could not be read and is left out:" << paths[i];
                continue;
            }
            const Step step = merge(i, paths[i]);
            if (step == Step::Stop) {
                completed = false;
                break;
            }
            steps.at(i, step);
        }
        queue.markMerged(c);
    }
    return end.end(completed);
}
