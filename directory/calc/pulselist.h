#ifndef PULSELIST_H
#define PULSELIST_H

#include <QString>
#include <QVector>

class QIODevice;

// The pulse list a pulsar's sum directory may hold (list_in_files.txt): one line per single .pnthr file
// with the result series, DM, harmonic and S/N found in it. rows() turns it into the file table's rows:
// the header, then "N 20yy.mm.dd descriptor DM harmonic S/N" per pulse line in file order.
class PulseList {
public:
    PulseList() = delete;

    static QString fileName(const QString& dir);
    static QString header();
    // Reads the open device to its end; every line that is not a pulse line is skipped.
    static QVector<QString> rows(QIODevice& in);
};

#endif // PULSELIST_H
