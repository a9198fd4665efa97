#ifndef FOURIERFORMRULES_H
#define FOURIERFORMRULES_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What the directory form decides from texts alone: the site code and DM list of a path, the label of the
// opened directory, period/harmonic conversions as the edits show them, search-directory names and the
// search filter, file-table descriptors, year rows and names, harmonics map file paths and the saved text
// report. Pure functions (map paths only look at the disk); the form owns every widget.
class FourierFormRules {
public:
    FourierFormRules() = delete;

    // "N0".."N9" from the first "/N4/", "_N4_" or "-N4-" like part of the path; "" when there is none.
    static QString siteCode(const QString& dir);
    // N4 trees first, then FFA searches, then every other directory.
    static QVector<int> dmListFor(const QString& nCode, bool isSearch, bool isFfa);
    static QString directoryLabel(const QString& dir, bool isSearch);

    // What the X axis of a graph type counts, and so what its window bounds mean: "harmonic" (the
    // spectrum's point index), "period" (the FFA graph and both maps) or "dm"; "" for no known type.
    static QString xQuantity(const QString& grafikType);

    // The period edit's text for a harmonic (5 decimals) and the harmonic of a period; any withNulls
    // other than 0 (also -1 for "all") counts as with nulls.
    static QString periodTextOfHarmonic(int harmonic, double tres, int withNulls);
    static int harmonicOfPeriod(double period, double tres, int withNulls);

    // Search inputs: the module as directory names write it (two digits in N4 trees), "MM:SS" as MMSS,
    // and the directory name they make together.
    static QString searchModule(const QString& module, const QString& nCode);
    static QString minSecDigits(const QString& minSec);
    static QString searchDirName(const QString& hour, const QString& minSec, const QString& module,
                                 const QString& ray);

    struct SearchFilter {
        bool byModule = false;
        bool byRay = false;
        bool byHour = false;
        bool byMinSec = false;
        QString module; // already through searchModule
        QString ray;
        QString hour;   // "*" for any
        QString minSec; // "MM:SS" or "*"
        bool n4 = false;
    };
    static QStringList filterSearchRows(const QStringList& rows, const SearchFilter& filter);

    // "f12_n1_av3" -> shift 2, with nulls 1, averagings 3; false for a text too short to hold them.
    static bool parseDescriptor(const QString& descriptor, int& shift, int& withNulls, int& averages);

    // Year of a table row: days begin with it, caches carry it after "cache_"; 0 when not a number.
    static int yearOfRow(const QString& row, const QString& kind);
    // One to three checked years joined by "_", "" for none or for four and more.
    static QString yearsName(const QHash<int, int>& yearStates, int firstYear, int currentYear);

    // Harmonics map file of a checked sum-mode row: caches hold their own, a day YYYY?MM?DD is looked for
    // in the year tree YYYY/MM first, then in the directory the scan found it in (location, may be "").
    static QString sumMapFile(const QString& dir, const QString& row, const QString& location, bool asIs);
    static QString searchMapFile(const QString& selectedDir, const QString& grafikType, const QString& nCode,
                                 bool asIs);

    // The saved text report: header from the inputs as shown, then the first curve numbered from 1.
    static QString reportText(const QString& pulsarName, const QString& grafikType, const QString& shift,
                              const QString& withNulls, const QString& averages, const QString& dispersion,
                              const QVector<double>& curve);
    static QString proposedReportName(const QString& pulsarName, const QString& shift,
                                      const QString& averages, const QString& withNulls,
                                      const QString& dispersion, const QString& grafikType);
    // The name with the suffix (".txt", ".png") appended unless it ends in exactly that text.
    static QString withSuffix(const QString& name, const QString& suffix);
};

#endif // FOURIERFORMRULES_H
