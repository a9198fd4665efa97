#ifndef ORDEREDJOBS_H
#define ORDEREDJOBS_H

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Runs job(0) .. job(count - 1) on worker threads, started in index order, while the GUI thread takes
// the results in that same order with waitFor(). While it waits, waitFor() lets the event loop run
// through BusyGuard::processEvents() every few milliseconds, so painting and timers go on and user input
// stays queued; the caller holds a BusyGuard. A job writes only its own result, which waitFor(index)
// hands over to the caller's thread; jobs never touch widgets, Settings or the Desktop seam. The
// destructor skips the jobs not started yet and joins the threads, so no job outlives what it was given.
class OrderedJobs {
public:
    OrderedJobs(int count, std::function<void(int index)> job);
    ~OrderedJobs();
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    // Returns once job `index` has finished; the job runs here when no worker could be started.
    void waitFor(int index);

private:
    void work();

    const int count;
    const std::function<void(int)> job;
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<char> done;
    int next = 0;
    bool stopping = false;
    std::vector<std::thread> threads;
};

#endif // ORDEREDJOBS_H
