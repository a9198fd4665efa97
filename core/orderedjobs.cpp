#include "core/orderedjobs.h"

#include "core/busyguard.h"

#include <QThread>

#include <algorithm>
#include <chrono>
#include <system_error>

namespace {
// Longest stretch without an event-loop pass while the GUI thread waits.
constexpr std::chrono::milliseconds passEvery(10);
} // namespace

OrderedJobs::OrderedJobs(int count, std::function<void(int index)> job)
    : count(count > 0 ? count : 0), job(std::move(job)), done(size_t(this->count), 0) {
    const int wanted = std::min(this->count, QThread::idealThreadCount());
    for (int t = 0; t < wanted; ++t) {
        try {
            threads.emplace_back(&OrderedJobs::work, this);
        } catch (const std::system_error&) {
            // Fewer workers, or none: waitFor() then runs the jobs itself.
            break;
        }
    }
}

OrderedJobs::~OrderedJobs() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    for (std::thread& t : threads) {
        t.join();
    }
}

void OrderedJobs::work() {
    for (;;) {
        int index = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping || next >= count) {
                return;
            }
            index = next++;
        }
        job(index);
        {
            std::lock_guard<std::mutex> lock(mutex);
            done[size_t(index)] = 1;
        }
        finished.notify_all();
    }
}

void OrderedJobs::waitFor(int index) {
    if (index < 0 || index >= count) {
        return;
    }
    std::unique_lock<std::mutex> lock(mutex);
    if (threads.empty()) {
        while (next <= index) {
            const int k = next++;
            lock.unlock();
            job(k);
            lock.lock();
            done[size_t(k)] = 1;
        }
        return;
    }
    while (!done[size_t(index)]) {
        finished.wait_for(lock, passEvery);
        if (done[size_t(index)]) {
            break;
        }
        lock.unlock();
        BusyGuard::processEvents();
        lock.lock();
    }
}
