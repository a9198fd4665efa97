#ifndef RECORDS_H
#define RECORDS_H

#include <QString>
#include <QStringList>
#include <QVector>

// Plain value records shared by the directory calculations and the views that draw their results.
// All are copied by value and own nothing but their members; a default-constructed record carries the
// defaults the calculations and views start from.

// Layout of an FFA periodogram as read from the result directory's info file: values of a periodogram
// vector run width-major over `rows` trial periods and `cols` trial widths.
struct PeriodogramInfo {
    int rows = 0;
    int cols = 0;
    QVector<int> widths;
    QVector<double> periods; // s, ascending
    QVector<int> foldbins;
    QString error; // "" or why the last read failed
};

// One circle of the 3-sigma graph.
struct Point3sigma {
    double disp = 0;
    double snr = 0;
    QString info; // the record's lines joined, each ending with a line feed
};

// One line of a harmonics map file; `selected` marks the points that pass the current filter.
struct MapPoint {
    bool selected = true;
    int harmonic = 0;
    int dispersion = 0;
    int shift = 0;
    int averages = 0;
    int withNulls = 0;
    int circleSize = 3;
    int excludeFlag = 0;
    int sumAlfa = 1;
    double period = 0; // s
    double snr = 0;
};

// Summed S/N of one harmonic, DM and result series, keyed "harmonic-dm-descriptor" by its owner.
struct Sum3sigmaRecord {
    int dispersion = 0;
    double snr = 0;
    QStringList lines; // "file   descriptor   snr\n", one per distinct line

    // "harmonic-dm-descriptor"; with an empty descriptor, the part every descriptor shares.
    static QString key(int harmonic, int dm, const QString& descriptor) {
        return QStringLiteral("%1-%2-%3").arg(QString::number(harmonic), QString::number(dm), descriptor);
    }
};

// A movable text note on a graph. Width 0 means it has not been laid out yet; data anchors are used
// when above 0; x and y are pixels from the canvas's left and bottom edges.
struct GrafikNote {
    QString text;
    int width = 0;
    int height = 0;
    double dataX = 0;
    double dataY = 0;
    double x = 0;
    double y = 0;
    double relX = 0;
    double relY = 0;
    bool selected = false;
    bool boxed = false;
    QString hAlign = QStringLiteral("left");   // "left", "middle" or "right"
    QString vAlign = QStringLiteral("bottom"); // "bottom", "middle" or "top"
};

#endif // RECORDS_H
