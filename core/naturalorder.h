#ifndef NATURALORDER_H
#define NATURALORDER_H

#include <QFileInfoList>
#include <QString>
#include <QStringList>

// The order in which directory scans list names and paths: numbers inside them compare as numbers, so
// "dm1_" < "dm3_" < "dm19_" < "dm206_" and periods "0.714" < "0.72" < "9.5" < "10.2". A digit run right
// after a '.' that follows a digit run is a decimal fraction; any other digit run is a whole number
// (ASCII digits only). All other text compares by UTF-16 code unit, case-sensitive. Texts that are equal
// as numbers ("dm01", "dm1") fall back to plain text order, so the order is total and the same in every
// locale (a collator's numeric mode is neither: it does nothing in the C locale and reads no fractions).
namespace NaturalOrder {
// Negative, 0 or positive as a sorts before, with or after b; 0 only for equal texts.
int compare(const QString& a, const QString& b);
bool less(const QString& a, const QString& b);
void sort(QStringList& list);
// By file name alone (for the entries of one directory).
void sortByFileName(QFileInfoList& list);
} // namespace NaturalOrder

#endif // NATURALORDER_H
