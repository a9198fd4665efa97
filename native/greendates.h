#ifndef GREENDATES_H
#define GREENDATES_H

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// The list of green (good) dates of a native data directory, "green_dates.txt", and the copying of the
// green dates' files. A counting line is "<date> <value>[ <comment>]" after trimming, starting with
// "20"; a comment follows only a value that is present (not after an empty one, as in "<date>  1"); a
// date's last line wins, comment included. Only green dates (value 1) are written back, sorted,
// each with its comment. Plain functions without boxes: the form says what happened.
class GreenDates {
public:
    GreenDates() = delete;

    struct List {
        QHash<QString, int> values;       // date -> 1 green, anything else white
        QHash<QString, QString> comments; // date -> the text after the value, when there is one
    };
    // An unreadable or missing file gives an empty list (and the debug line "No file " + path).
    static List read(const QString& path);

    // The green dates in the order they are written.
    static QStringList greenSorted(const QHash<QString, int>& values);

    enum class Written { Dates, NoEntries, Failed };
    // Replaces the file atomically: the green dates, or the text "no green dates" when values is empty.
    // On any failure the old file stays. count receives the number of dates written.
    static Written write(const QString& path, const QHash<QString, int>& values,
                         const QHash<QString, QString>& comments, int* count = nullptr);

    // "<cleaned dirPath>_green_yyyy.MM.dd_hhmm", beside the directory even when the path ends in "/".
    static QString copyDirName(const QString& dirPath, const QDateTime& time);

    struct Copied {
        bool dirCreated = false;
        int count = 0;
        QStringList failed; // source paths whose copy failed or whose target already existed
    };
    // Copies the file of every green date that has one into dir, in date order; never overwrites.
    static Copied copyFiles(const QString& dir, const QHash<QString, int>& values,
                            const QHash<QString, QString>& filePaths);

    // The clock that names copy directories; tests replace it. nullptr restores the local time.
    using Clock = QDateTime (*)();
    static void setClock(Clock clock);
    static QDateTime now();
};

#endif // GREENDATES_H
