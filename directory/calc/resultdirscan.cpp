#include "directory/calc/resultdirscan.h"

#include "core/busyguard.h"
#include "core/naturalorder.h"
#include "core/tables.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace {

// An ordered list with a set beside it, so that the "listed once" test costs a lookup, not a scan.
struct UniqueList {
    QStringList items;
    QSet<QString> seen;
    bool add(const QString& s) {
        if (seen.contains(s)) {
            return false;
        }
        seen.insert(s);
        items.append(s);
        return true;
    }
};

// Files counted before the search scan's progress starts again from 0.
constexpr int searchProgressWrap = 26880;

} // namespace

ResultDirScan::ResultDirScan(QObject* parent) : QObject(parent) {}

QString ResultDirScan::yearTreeMonth(const QString& day) {
    return day.left(4) + QLatin1Char('/') + day.mid(5, 2);
}

bool ResultDirScan::readSumDir(const QString& dir) {
    if (!QFileInfo(dir).isDir()) {
        return false;
    }
    emit progress(0);
    allRows.clear();
    tableRows.clear();
    rowKinds.clear();
    rowChecked.clear();
    dayLocations.clear();
    pulsarName = QStringLiteral("");

    static const QRegularExpression beamPattern(QStringLiteral("a(\\d+)_d(\\d+)_m(\\d)_r(\\d)"));
    static const QRegularExpression namePattern(QStringLiteral("(\\d\\d\\d\\d)([\\+\\-])(\\d\\d\\d\\d)"));
    const QRegularExpressionMatch beam = beamPattern.match(dir);
    if (beam.hasMatch()) {
        module = beam.captured(3).toInt();
        ray = beam.captured(4).toInt();
        const QString ra = beam.captured(1);
        pulsarName = QStringLiteral("J%1+%2").arg(ra.left(4), beam.captured(2).left(4));
        raTime = QTime(ra.mid(0, 2).toInt(), ra.mid(2, 2).toInt(), ra.right(2).toInt());
    } else {
        const QRegularExpressionMatch name = namePattern.match(dir);
        if (name.hasMatch()) {
            pulsarName = QStringLiteral("J%1%2%3").arg(name.captured(1), name.captured(2), name.captured(3));
            raTime = QTime(name.captured(1).left(2).toInt(), name.captured(1).mid(2, 2).toInt(), 0);
        } else {
            raTime = QTime(0, 0, 0);
        }
    }

    auto addLocation = [this](const QString& day, const QString& sub) {
        QStringList& places = dayLocations[day];
        if (places.isEmpty() || places.last() != sub) {
            places.append(sub);
        }
    };
    static const QRegularExpression dayPattern(QStringLiteral("(\\d{4}.\\d{2}.\\d{2})"));
    QStringList entries = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    NaturalOrder::sort(entries);
    const int count = entries.size();
    QStringList others, years, monthes;
    UniqueList days;
    for (int k = 1; k <= count; ++k) {
        const QString& name = entries[k - 1];
        if (name.startsWith(QLatin1String("cache_"))) {
            const int y = name.mid(6, 4).toInt();
            const bool known = yearStates.contains(y);
            if (known && name.size() == 10) {
                years.append(name);
            } else if (known && name.size() == 13 && name[10] == QLatin1Char('_') &&
                       name.mid(11, 2).toInt() > 0) {
                monthes.append(name);
            } else {
                others.append(name);
            }
            if (known) {
                yearStates[y] = 0;
            }
        } else {
            bool isNumber = false;
            const int y = name.toInt(&isNumber);
            if (isNumber && yearStates.contains(y)) {
                yearStates[y] = 0;
                for (int m = 1; m <= 12; ++m) {
                    const QString mm = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
                    const QString sub = name + QLatin1Char('/') + mm;
                    const QDir monthDir(dir + QLatin1Char('/') + sub);
                    if (monthDir.exists()) {
                        const QString month = QString::number(y) + QLatin1Char('/') + mm;
                        QStringList files = monthDir.entryList(QDir::Files, QDir::NoSort);
                        NaturalOrder::sort(files);
                        for (const QString& file : qAsConst(files)) {
                            const QString day = file.left(10);
                            // A month holds the files of its own days only.
                            if (yearTreeMonth(day) == month) {
                                days.add(day);
                                addLocation(day, sub);
                            }
                        }
                    }
                    emit progress((1200 * k - 1100 + 100 * m) / (12 * count));
                }
            } else {
                const QRegularExpressionMatch day = dayPattern.match(name);
                if (day.hasMatch()) {
                    days.add(day.captured(1));
                    addLocation(day.captured(1), name);
                }
            }
        }
        emit progress(100 * k / count);
    }

    allRows << others << years << monthes << days.items;
    for (const QString& s : others) {
        rowKinds.insert(s, QStringLiteral("cacheOthers"));
    }
    for (const QString& s : years) {
        rowKinds.insert(s, QStringLiteral("cacheYears"));
    }
    for (const QString& s : monthes) {
        rowKinds.insert(s, QStringLiteral("cacheMonthes"));
    }
    for (const QString& s : days.items) {
        rowKinds.insert(s, QStringLiteral("days"));
    }

    showOthers = !others.isEmpty();
    showYears = false;
    showMonthes = false;
    showDays = false;
    tableRows = others;
    if (!years.isEmpty()) {
        tableRows << years;
        showYears = true;
    } else if (!monthes.isEmpty()) {
        tableRows << monthes;
        showMonthes = true;
    } else if (!days.items.isEmpty()) {
        tableRows << days.items;
        showDays = true;
    }
    rowChecked = QVector<bool>(tableRows.size(), false);
    return true;
}

bool ResultDirScan::readSearchDir(const QString& dir, const QString& nCode) {
    if (!QFileInfo(dir).isDir()) {
        return false;
    }
    // The scan lets the event loop run; nothing may start new work or tear the form down meanwhile.
    BusyGuard busy;
    emit progress(0);
    allRows.clear();
    tableRows.clear();
    rowKinds.clear();
    rowChecked.clear();
    searchDirPaths.clear();
    pulsarName = QStringLiteral("");

    static const QRegularExpression searchPattern(
        QStringLiteral("^(.*/(a\\d{6}_m\\d{1,2}_r\\d[^/]*))/.*.txt$"));
    int counted = 0;
    QDirIterator it(dir, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QRegularExpressionMatch m = searchPattern.match(path);
        if (m.hasMatch()) {
            // Of two directories with one name the first in NaturalOrder is kept, whatever order the
            // file system delivers them in. Most files lie in a directory already kept: a plain
            // comparison settles those.
            const QString name = m.captured(2);
            QString found = m.captured(1);
            const auto known = searchDirPaths.find(name);
            if (known == searchDirPaths.end()) {
                searchDirPaths.insert(name, std::move(found));
            } else if (known.value() != found && NaturalOrder::less(found, known.value())) {
                known.value() = std::move(found);
            }
        }
        ++counted;
        if (counted > searchProgressWrap) {
            counted = 0;
            emit progress(0);
            BusyGuard::processEvents();
        } else if (counted % 10 == 0) {
            emit progress(counted * 100 / searchProgressWrap);
            BusyGuard::processEvents();
        }
    }
    allRows = searchDirPaths.keys();
    NaturalOrder::sort(allRows);
    tableRows = allRows;
    if (nCode == QLatin1String("N4")) {
        sortSearchDirs();
    }
    emit progress(100);
    BusyGuard::processEvents();
    return true;
}

void ResultDirScan::sortSearchDirs() {
    if (tableRows.isEmpty()) {
        return;
    }
    allRows.clear();
    const QSet<QString> listed(tableRows.cbegin(), tableRows.cend());
    UniqueList prefixes;
    for (const QString& row : tableRows) {
        prefixes.add(row.left(7));
    }
    for (const QString& prefix : prefixes.items) {
        for (const BeamTableRow& beam : beamTableN4) {
            const QString name = QStringLiteral("%1_m%2_r%3")
                                     .arg(prefix)
                                     .arg(beam.module, 2, 10, QLatin1Char('0'))
                                     .arg(beam.ray);
            if (listed.contains(name)) {
                allRows.append(name);
            }
        }
    }
    tableRows = allRows;
}
