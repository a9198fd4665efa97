#ifndef FFATREEWRITER_H
#define FFATREEWRITER_H

#include <QString>
#include <QVector>

// Writes FFA result trees for tests: the periodogram layout "info.txt" of one width and periodogram files
// of one record per DM on a noise floor of 10 + N(0, 1), with a pulse planted at one DM and trial period.
// The same seed gives the same files on every run.
namespace FfaTreeWriter {

struct Layout {
    int rows = 200;
    double first = 0.5;   // s, the first trial period
    double step = 0.0375; // s, between trial periods: 0.5 .. 7.9625 by default
    double period(int i) const { return first + i * step; }
};

// The pulse adds `height` at (dm, periodIndex) and height / (1 + |DM - dm| / 5) at the other DMs.
struct Pulse {
    int dm = 40;
    int periodIndex = 100;
    double height = 30;
};

// dir/info.txt: the trial periods, width 8, fold bins 64, 72, ... coming back to 64 every 10 periods.
bool writeLayout(const QString& dir, const Layout& layout);
// A result file of doubles at path, its directories made as needed; false when it cannot be written.
bool writePeriodograms(const QString& path, const QVector<int>& dms, const Layout& layout, const Pulse& pulse,
                       unsigned seed);

} // namespace FfaTreeWriter

#endif // FFATREEWRITER_H
