#include "core/dirscan.h"

#include "core/busyguard.h"
#include "core/naturalorder.h"

#include <QDir>
#include <QDirIterator>
#include <QProgressBar>

QStringList DirScan::files(const QString& dir, const QStringList& nameFilters) {
    QStringList paths;
    QDirIterator it(dir, nameFilters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths.append(it.next());
    }
    NaturalOrder::sort(paths);
    return paths;
}

bool DirScan::run(const QString& dir, const QStringList& nameFilters, QProgressBar* bar,
                  const std::function<Step(int index, const QString& path)>& visit) {
    BusyGuard busy;
    if (bar) {
        bar->show();
        bar->setValue(0);
    }
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
            BusyGuard::processEvents();
        }
    }
    if (completed) {
        if (bar) {
            bar->setValue(100);
        }
        BusyGuard::processEvents();
    }
    // Hidden whatever was found: a bar left standing at 100 after an empty directory looks like a hang.
    if (bar) {
        bar->hide();
    }
    return completed;
}
