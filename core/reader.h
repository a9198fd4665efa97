#ifndef READER_H
#define READER_H

#include "core/data.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Reads an observation file (.pnt, .pnthr): a passport of key lines followed by little-endian float32
// samples in the order point, module, ray, channel. Holds no state between calls; make one on the
// stack per read. While the samples are read it lets the event loop run once per time point under a
// BusyGuard, so nothing started from the event loop can tear down the caller meanwhile. readSeries() is
// the one part that may run on another thread.
//
// startDateTime is given in UTC: the passport's Moscow time is moved 3 hours back unless it says "UTC".
class Reader : public QObject {
    Q_OBJECT
public:
    explicit Reader(QObject* parent = nullptr);

    // Never throws. An unusable file gives a record whose npoints is 0 (or -1 without modules).
    Data readFile(const QString& path, bool headerOnly);

    // A read for a worker thread: the file is read whole as readFile reads it, but with no event pass,
    // no progress, no message and no debug line, and of the samples only the series of module 0, ray 0,
    // channels 0 .. channelCount-1 are kept (none when the file has fewer channels or no points). What
    // readFile would have logged, shown or printed stays in the result until report() gives it out on
    // the GUI thread; taken in the order of the files, the messages come as one read after another gives
    // them.
    struct SeriesRead {
        QString path;
        QVector<QVector<float>> series; // channelCount series of the points read, or none
        QStringList debugLines;
        bool shortFile = false; // the file ended before the passport's points
        bool slowFile = false;  // reading the samples passed the time limit
    };
    static SeriesRead readSeries(const QString& path, int channelCount);
    // GUI thread only: logs the read's debug lines, then shows the boxes readFile would have shown, or
    // without a window prints its lines and drops the series of a damaged file, as readFile then gives
    // the empty record.
    static void report(SeriesRead& read);

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
