#ifndef DIRSCAN_H
#define DIRSCAN_H

#include <QString>
#include <QStringList>

#include <functional>

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
// False when visit stopped the scan.
bool run(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
         const std::function<Step(int index, const QString& path)>& visit);
} // namespace DirScan

#endif // DIRSCAN_H
