#ifndef SEARCHRESULTPARSER_H
#define SEARCHRESULTPARSER_H

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

class QIODevice;

// The text format of one search-result file, apart from any form: lines go in one at a time, out come
// the series per DM text (the last number line of each "disp=" block), the DM texts in the order the
// file first names them, and the range of every number read. A piece that is no number counts 0, and so
// does a NaN, infinite or overflowing one. A file without number lines has no range, so its caller
// keeps whatever range it had before. The parser owns everything it returns by value and shares
// nothing with other parsers: files may be parsed on several threads at once, one parser each.
class SearchResultParser {
public:
    // Value ranges start from these, so they take part in every range (numbers all above 100000 leave
    // the minimum at 100000).
    static constexpr double rangeStartMax = -100000.0;
    static constexpr double rangeStartMin = 100000.0;

    void addLine(const QString& line);
    // Reads the device to its end (CR LF or LF line ends) with one read; non-finite values of it are
    // reported in one debug line.
    void addAll(QIODevice& device);
    // The file as addAll reads it opened in text mode; false when it cannot be opened.
    bool read(const QString& path);

    const QVector<QString>& dispersions() const { return dms; }
    const QHash<QString, QVector<double>>& series() const { return byDm; }
    QHash<QString, QVector<double>> takeSeries();
    bool hasRange() const { return numberLines > 0; }
    double maximum() const { return maxValue; }
    double minimum() const { return minValue; }
    // Numbers read so far that were not finite and count 0.
    qint64 nonFiniteCount() const { return nonFinite; }

private:
    void addText(const char* begin, const char* end, const QString& where);
    void addLine(const char* begin, const char* end);
    void addNumbers(const char* begin, const char* end);

    QString currentDm;
    QVector<QString> dms;
    QSet<QString> seenDms;
    QHash<QString, QVector<double>> byDm;
    qint64 numberLines = 0;
    qint64 nonFinite = 0;
    double maxValue = rangeStartMax;
    double minValue = rangeStartMin;
};

#endif // SEARCHRESULTPARSER_H
