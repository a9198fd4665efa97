#ifndef DIRSCAN_H
#define DIRSCAN_H

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QProgressBar;

// The directory scan of the multi-date forms. Every regular file below dir, in all subdirectories,
// whose name matches one of the wildcards (case-insensitive) is listed in NaturalOrder, so that every
// platform reads in one order and numbered names (dates, DMs, periods) rise; then visit runs on each
// path. At a visited path whose position is a multiple of 10 the bar shows position * 100 / count and
// painting catches up; at the end the bar shows 100. The scan holds a BusyGuard, so menus and forms
// refuse new work meanwhile, and user input waits. A null bar is skipped. The bar is shown at 0 first and
// hidden when the scan ends, on every path, also when nothing was found.
namespace DirScan {
enum class Step {
    Skipped, // the path is not one of ours: no progress step
    Visited, // read or tried
    Stop     // end the scan here (no progress to 100)
};
QStringList files(const QString& dir, const QStringList& nameFilters);
// files() of the paths keep() takes, the others left out before sorting.
QStringList files(const QString& dir, const QStringList& nameFilters,
                  const std::function<bool(const QString& path)>& keep);
// False when visit stopped the scan.
bool run(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
         const std::function<Step(int index, const QString& path)>& visit);

// run() with the files read on worker threads. read(path) runs on a pool thread for every listed path,
// a bounded number of paths ahead of the merge, and must touch nothing but its own result and the
// file: no widget, no Settings, no box. merge(index, path, result) runs on the calling thread in list
// order, with the progress steps and event passes of run(), so the tables it fills come out as a
// serial scan fills them. After a Stop the workers end without reading further paths. listed(count),
// when given, hears on the calling thread how many paths were listed, before any is read.
// A read that throws (on any thread) counts as a damaged file: one "Error!" line in the log names it,
// where its merge would have come, and it gets neither a merge nor a progress step; the other paths are
// read and merged as ever. An exception from merge or listed reaches the caller only after every worker
// has ended, none reading then or later, with the busy state, the cursor and the bar restored as at the
// end of any scan (the bar hidden, short of 100).
template <typename Result>
bool runParallel(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                 const std::function<Result(const QString& path)>& read,
                 const std::function<Step(int index, const QString& path, Result& result)>& merge,
                 const std::function<void(int count)>& listed = {});

// The untyped core of runParallel: begin(paths) hears the listed paths and sizes the result slots
// before any worker starts; what it prepares is read-only to read() afterwards. An index whose read
// threw is never merged; begin and merge may throw, as above.
bool runParallelSlots(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                      const std::function<void(const QStringList& paths)>& begin,
                      const std::function<void(int index, const QString& path)>& read,
                      const std::function<Step(int index, const QString& path)>& merge);
} // namespace DirScan

template <typename Result>
bool DirScan::runParallel(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                          const std::function<Result(const QString& path)>& read,
                          const std::function<Step(int index, const QString& path, Result& result)>& merge,
                          const std::function<void(int count)>& listed) {
    std::vector<Result> results;
    return runParallelSlots(
        dir, nameFilters, bar,
        [&](const QStringList& paths) {
            results.resize(std::size_t(paths.size()));
            if (listed) {
                listed(int(paths.size()));
            }
        },
        [&](int index, const QString& path) { results[std::size_t(index)] = read(path); },
        [&](int index, const QString& path) {
            Result result = std::move(results[std::size_t(index)]);
            results[std::size_t(index)] = Result(); // a merged result is held by the tables only
            return merge(index, path, result);
        });
}

#endif // DIRSCAN_H
