#ifndef RESULTHEADER_H
#define RESULTHEADER_H

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>

// The six-line header of a Fourier/FFA result file and the element type of its blocks: the one parser
// that every reader of such files and their text rendering share. A value record; it keeps no device.
//
// Element type: a line beginning "type: float" means float32; otherwise a "first_point:" line with a
// value means float64; otherwise the first block is probed as float32 (a line feed then "disp", or the
// end of the file, right after it confirms float32; anything else means float64).
class ResultHeader {
public:
    enum class Marker { Float, Double, None };

    // Reads six lines (each at most 4096 bytes) from the device's current position.
    static ResultHeader read(QIODevice& in);

    // N as the readers take it: every "points: " and every line feed removed, the rest read as a
    // decimal integer; unreadable text, or a line written with CR LF, gives 0.
    static int pointsOfLine(const QByteArray& line);

    // True when the blocks hold float64. With no marker, probes the records that follow the header with
    // `points` values per block and puts the device back where it was.
    bool doubles(QIODevice& in, qint64 points) const;

    QList<QByteArray> lines;
    int points = 0;
    Marker marker = Marker::None;
};

// A "name: value" line of a header, line end included: tabs count as blanks, the name is the text before
// the first blank without any ":", the value the rest without its last character and leading blanks,
// stored read as an integer (0 when it does not read). A line without a blank stores nothing.
void parseHeaderLine(QHash<QString, int>& hash, QString line);

#endif // RESULTHEADER_H
