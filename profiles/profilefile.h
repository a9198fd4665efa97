#ifndef PROFILEFILE_H
#define PROFILEFILE_H

#include <QByteArray>
#include <QString>
#include <QStringRef>
#include <QVector>

// The text format of an average-profile file: "period=<text>" lines, each opening a block, and sample
// lines of numbers separated by single spaces (an empty part reads as 0, " *" counts as one space).
// Samples before the first period line are dropped; a sample that is not a finite number counts 0.
// Plain values only; nothing is shared between objects, so files may be parsed on several threads.
class ProfileFile {
public:
    struct Block {
        QString periodText; // as the file writes it
        QVector<double> samples;
        double max = -1000000; // only a strictly greater value replaces it: the first maximum wins
        double min = 1000000;
        int maxIndex = -1; // position of the maximum within its own sample line
    };
    // Blocks with samples, in file order (a period may repeat: the later block wins).
    QVector<Block> blocks;
    // Distinct period values in the order met; a period line without samples is listed too.
    QVector<double> periods;
    // Samples that were NaN, infinite or overflowing and count 0.
    qint64 nonFinite = 0;

    static ProfileFile parse(const QString& text);
    // Reads a file with one read; false when it cannot be opened. Samples that count 0 are reported in
    // one debug line.
    static bool read(const QString& path, ProfileFile& out);

    // Line by line, for reading in pieces: every line (without its end), then finish().
    void addLine(QStringRef line);
    void finish();
    // Periods ascending (a value that is not a number last) in fixed notation with the given decimals.
    QVector<QString> periodTexts(int decimals) const;

private:
    // Feeds every line of UTF-8 text; a last line without an end is fed too.
    void addText(const char* begin, const char* end);
    void addLine(const char* begin, const char* end);
    void addSamples(const char* begin, const char* end);

    Block open;
    bool inBlock = false;
    QByteArray replaced;
};

#endif // PROFILEFILE_H
