#ifndef TEXTFIT_H
#define TEXTFIT_H

#include <QString>
#include <QStringList>

#include <functional>

// How a line of text is shown in a width it may not fit: the shaping of the long-text labels of the
// form columns, kept apart from the widgets so that it is computed as data. A line is a run of fields
// (what lies between blanks and tabs) and separators. Widths come from the caller's measure, which
// expands tabs as the label draws them. Numbers (a field such as "0.7145", "-3", "p=4.2500" or
// "period=712.3:") are what the user reads these texts for: they are never cut while a field of
// another kind, or a break between fields, can give the room. Nothing is owned or kept.
namespace TextFit {
using Measure = std::function<int(const QString& text)>;

// The line broken at blanks and tabs into lines of at most width, the separators at a break dropped;
// a field is elided in the middle only when it alone is wider. The line comes back whole when it fits.
QStringList wrap(const QString& line, int width, const Measure& measure, bool* cut = nullptr);
// The line in one line of at most width: its runs of blanks and tabs become single blanks, then the
// widest fields that are not numbers (paths, names) are elided in the middle, as little as fits; when
// that cannot give the room, the line is wrapped.
QStringList elide(const QString& line, int width, const Measure& measure, bool* cut = nullptr);
// The width that shows every table row of the text whole, its columns aligned at their tabs: a row
// is a line with a tab and only short fields (a calculation's lists). Paths, sentences and lines
// without a tab ask for nothing; 0 when there is no such row.
int tableWidth(const QString& text, const Measure& measure);
// True for a field that holds a number, with a "name=" before it or ':', ',', ';' or '%' after it.
bool isNumber(const QString& field);
} // namespace TextFit

#endif // TEXTFIT_H
