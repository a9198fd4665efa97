#ifndef RESULTDIRSCAN_H
#define RESULTDIRSCAN_H

#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

// What a result directory holds before anything is calculated: the caches and days of a pulsar's
// sum-results directory, or the search directories of a search-results tree, with the source name,
// right-ascension time, module and ray taken from the path. The directory form fills `yearStates`,
// `module` and `ray` with its starting values, runs one scan and copies the result; the scan shows no
// message (the form says what a false result means) and reports its progress through progress(int).
// Plain values, owned by whoever holds the scan.
class ResultDirScan : public QObject {
    Q_OBJECT
public:
    explicit ResultDirScan(QObject* parent = nullptr);

    QString pulsarName;
    QTime raTime;
    int module = 0;
    int ray = 0;
    QStringList allRows;
    QStringList tableRows;
    QVector<bool> rowChecked;
    QMap<QString, QString> rowKinds;
    QHash<QString, QString> searchDirPaths;
    // Year -> -1 no data, 0 data present (1, checked, is the form's business).
    QHash<int, int> yearStates;
    bool showOthers = false;
    bool showYears = false;
    bool showMonthes = false;
    bool showDays = false;
    // Day row -> the directories below the scanned one that hold its files, in scan order: year-tree
    // months ("2019/03", file names beginning with the day) and dated directories ("2019.03.15_extra").
    QHash<QString, QStringList> dayLocations;

    // The month directory of the year tree where the files of the day "YYYY?MM?DD" lie (the separators
    // may be any characters): "2019/03" for "2019.03.15", relative to the scanned directory.
    static QString yearTreeMonth(const QString& day);

    // False, with every member unchanged, when the directory does not exist. Directories and files are
    // taken in NaturalOrder, as are the search directories found.
    bool readSumDir(const QString& dir);
    // `nCode` "N4" re-sorts the directories by start time and the site's beam table.
    bool readSearchDir(const QString& dir, const QString& nCode);
    void sortSearchDirs();

signals:
    void progress(int);
};

#endif // RESULTDIRSCAN_H
