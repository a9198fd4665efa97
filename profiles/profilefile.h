#ifndef PROFILEFILE_H
#define PROFILEFILE_H

#include <QString>
#include <QStringRef>
#include <QVector>

// The text format of an average-profile file: "period=<text>" lines, each opening a block, and sample
// lines of numbers separated by single spaces (an empty part reads as 0, " *" counts as one space).
// Samples before the first period line are dropped. Plain values only.
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

    static ProfileFile parse(const QString& text);
    // Reads a file in pieces of whole lines, so its size is bounded by the disk, not by one string;
    // false when it cannot be opened.
    static bool read(const QString& path, ProfileFile& out);

    // Line by line, for reading in pieces: every line (without its end), then finish().
    void addLine(QStringRef line);
    void finish();
    // Periods ascending (a value that is not a number last) in fixed notation with the given decimals.
    QVector<QString> periodTexts(int decimals) const;

private:
    // Feeds every line of text; a last line without an end is fed too.
    void addLines(const QString& text);

    Block open;
    bool inBlock = false;
    QString replaced;
};

#endif // PROFILEFILE_H
