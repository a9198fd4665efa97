#ifndef READER_H
#define READER_H

#include "core/data.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// Reads an observation file (.pnt, .pnthr): a passport of key lines followed by little-endian float32
// samples in the order point, module, ray, channel. Holds no state between calls; make one on the
// stack per read. While the samples are read it lets the event loop run once per time point under a
// BusyGuard, so nothing started from the event loop can tear down the caller meanwhile.
//
// startDateTime is given in UTC: the passport's Moscow time is moved 3 hours back unless it says "UTC".
class Reader : public QObject {
    Q_OBJECT
public:
    explicit Reader(QObject* parent = nullptr);

    // Never throws. An unusable file gives a record whose npoints is 0 (or -1 without modules).
    Data readFile(const QString& path, bool headerOnly);

    // The passport's line count from its first line; removes one trailing line feed from the array.
    static int readHeaderLineCount(QByteArray& firstLine);

    // Text renderings (reader_text.cpp). writeDataAsText writes the passport and one line per point,
    // module and ray; samples that are not sane are written as 0 and cleared in the shared record.
    // Returns 0, or -1 when the output or the source file cannot be opened, or the output is the source.
    // With `progress` given, it gets the percentage written every 1000 points and the event loop runs
    // once then (BusyGuard::processEvents()); the caller holds a BusyGuard.
    static int writeDataAsText(Data& data, const QString& outPath,
                               const std::function<void(int)>& progress = nullptr);
    // The six header lines and the values of a Fourier/FFA result file, one per line. Returns "" on
    // success, otherwise the error text; the output keeps what was written before the error. The output
    // is never the input file itself.
    static QString convertResultFileToText(const QString& inPath, const QString& outPath);

    // Milliseconds since the epoch; tests replace it to drive the one-hour limit. nullptr restores it.
    using Clock = qint64 (*)();
    static void setClock(Clock clock);

signals:
    void progress(int percent);
};

#endif // READER_H
