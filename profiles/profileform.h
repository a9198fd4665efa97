#ifndef PROFILEFORM_H
#define PROFILEFORM_H

#include "profiles/statisticsfile.h"

#include <QHash>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class MainWindow;
class MultiGrafik;
class ProfileGrafik;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QProgressBar;
struct ProfileGridPlan;

namespace Ui {
class ProfileForm;
} // namespace Ui

// The viewer of a directory of average pulse profiles, created by the "Multi" menu with the mode
// "periods" or "dispersions" and the main window as parent. The constructor reads every profile file
// below the directory into the tables, fills the selectors with the strongest profile preselected and
// replaces the work area's content with the panel and a plot; when the reading fails the form is not
// valid, hidden and unconnected, the work area untouched, and its creator deletes it. The form owns
// `ui`; widgets, plots and grids belong to Qt's tree.
class ProfileForm : public QWidget {
    Q_OBJECT
public:
    ProfileForm(QString dirName, QString dirMode, QWidget* parent);
    ~ProfileForm() override;

    bool isValid() const { return valid; }

    QString dirPath;
    QString dirMode;
    QString view;
    QHash<QString, QVector<QString>> dmsByDate;
    QHash<QString, QVector<QString>> periodsByDateDm;
    QHash<QString, QVector<double>> profiles;
    QHash<QString, QVector<double>> profileStats; // maximum, minimum, index of the maximum
    QHash<QString, QVector<double>> dateStats;
    QVector<QString> dates;
    QVector<QString> datesByMax;
    QVector<QString> dateDms;
    QVector<QString> dmPeriods;
    QStringList bestList;
    QHash<QString, QStringList> bestByDate;
    QHash<QString, QStringList> bestFiveByDate;
    QHash<QString, QStringList> bestFiveByDatePeriod;
    int linkIndex = -1;
    QVector<QString> statYears, statDms, statPeriods;
    QHash<QString, QHash<QString, StatisticsRow>> statTable;
    // Guarded: a grid cell or plot goes with the work area's next emptying.
    QPointer<ProfileGrafik> profileGrafik;
    QPointer<MultiGrafik> multiGrafik;
    bool maxToCenter = true;
    bool bestForDate = false;
    int bestRow = 0;
    int bestCol = 0;
    Ui::ProfileForm* ui = nullptr;
    MainWindow* mainWindow = nullptr;
    QHBoxLayout* workLayout = nullptr;
    QProgressBar* progressBar = nullptr;
    QVector<double> statSigma, statSnr, statSignal;
    QVector<QString> statLabelsX;
    QVector<QPair<QString, QString>> statTicksX;
    QVector<QString> statMarkerLabels;

    // Scans the directory and fills every profile table; false (after its box) when nothing was read.
    bool readDirProfile(QString dirPath);
    // Reads one profile file; false when it cannot be opened or holds no period line.
    bool readProfileFile(QString path, QString date, QString dm, int decimals);
    // Reads every statistics file below the directory into statTable and the three lists; false (after
    // its box) when the directory is missing or a file cannot be opened, and when no file was found.
    bool readDirStatistic(QString dirPath);
    // Best-profile links in the group box: the five strongest of the directory, or of one date; the
    // no-argument form lists the date currently selected.
    void showBestProfilesAll();
    void showBestProfilesForDate(QString date);
    void showBestProfilesForDate();

    // count + 1 labels of the times i * period / count, one decimal; empty for a negative count.
    static QVector<QString> getTimeLabels(double period, int count);
    // First and last point of the pulse at the level: two neighbours at or above it start the pulse,
    // two at or below it end it; {0, 0} when either end is missing.
    static QVector<int> getHalfHeightPoints(QVector<double> profile, double level);
    // The time of a point within the period; -1 after a box when there are no points.
    double getTimeFromPoint(int index, int nPoints, double period);
    // The point of a time within the period; -1 after a box when there is no period.
    int getPointFromTime(double time, int nPoints, double period);

    // The parts of a best-list entry "code_date_dm_period" (the date is always ten characters).
    struct BestEntry {
        QString date;
        QString dm;
        QString period;
    };
    static BestEntry splitBestEntry(const QString& entry);

signals:
    void progress(int);

public slots:
    // Selection, navigation and options.
    void changedDate(QString date);
    void changedDispersion(QString disp);
    void changedPeriod(QString period);
    void changedHarmonic(int);
    void changedPlosh(QString plosh);
    void changedPulsarName(QString);
    void dateNext();
    void datePre();
    void dispNext();
    void dispPre();
    void periodNext();
    void periodPre();
    void averageChanged(int radius);
    // Statistics: year, DM and period of the day-by-day views.
    void statYearNext();
    void statYearPre();
    void statDispNext();
    void statDispPre();
    void statPeriodNext();
    void statPeriodPre();
    void radiusChanged(int radius);
    // Best-profile links.
    void clickedOnLink();
    void clickedOnDateLink();
    // Views and the options that redraw them. A drawing that returns false drew nothing: the view shown
    // before stays.
    bool drawGrafikOne();
    bool drawGrafikDisp();
    bool drawGrafikMulti();
    bool drawGrafikMultiDispPeriods();
    bool drawGrafikMultiDispersions();
    bool redrawDataStat();
    bool redrawGrafikStat();
    bool drawGrafikStat();
    bool drawGrafikStatOne();
    bool checkFormAndRedraw();
    void groupBoxStatisticClicked();
    void groupBoxCalculatorClicked();
    void groupBoxForPrintClicked();
    void changedFlagMaximums(int currentIndex);
    void clickedShowMax();
    void clickedForPrintShowMax();
    void clickedShiftMaxToCenter();
    void sortSnr();
    void saveImage();
    void changeSize();
    void scrollToBestGrafik();
    void drawAndScrollToBestGrafik();
    void showProfileDate(QString date, bool showOne);
    // Flux-density calculator.
    void changedCalcN1();
    void changedCalcN2();
    void changedCalcPeriod1();
    void changedCalcPeriod2();
    void clickedCalcShowW50();
    bool calculateFluxDensity();
    bool calculateFluxDensityShow();
    double getSumSp(QVector<double> arr, int n1, int n2, double sigma, double dS, int n_periods);
    double getSigmaNoise(QVector<double> arr, int n1, int n2);

private:
    // The DM and period the print captions were last filled from; a caption typed by hand stays until
    // the selection moves away from them.
    QString captionDm;
    QString captionPeriod;
    // The one-profile captions follow the selection of date, DM and period.
    void followSelectionInCaptions(const QString& dm, const QString& period);
    // Makes the cells of a planned grid (null for a missing profile) and puts the grid in the work area.
    bool showProfileGrid(const ProfileGridPlan& plan, bool smoothCells);
    void clearBestLinks();
    void addBestLink(const QString& entry, int index, bool forDate);
    void redrawAfterPeriodStep();
    // The harmonic spin box for one profile: its points as the range, the date's index of the maximum.
    void setHarmonicRange(const QString& date, const QString& dm, const QString& period);
    // np and the period of the calculator; false when the window cannot be converted.
    bool calcWindowReady(int& np, double& period) const;
    // One window edge typed as a point or as a time: fills its twin and redraws.
    void pointToTime(const QLineEdit* point, QLineEdit* time);
    void timeToPoint(const QLineEdit* time, QLineEdit* point);
    // The N4 points n0 over the cosine of the declination into n, with the declination's hours and cosine
    // shown; false (n untouched, after a box) when the cosine is unusable.
    bool applyDeclination(const QString& delta, int n0, int& n);
    // The text of the box for a window [n1, n2] outside a profile of size points; empty when it fits.
    static QString windowError(int n1, int n2, int size);
    // The calculator's error box for a sum or sigma that cannot be taken; -1, the value they then give.
    double refusedMeasure(const QString& text);
    // The number with as many decimals as Tools::decimalsFor gives it.
    static QString autoDecimals(double v);
    // Keeps the lists of dates, DMs, periods and years free of repeats, in the order first met.
    static void appendOnce(QVector<QString>& list, const QString& s);
    // The days of one year of the statistics view; inAll selects the window and ticks of "all".
    void appendStatYear(const QString& year, bool inAll, bool lastYear, const QString& nextYear);
    // An arrow of a statistics selector: the step, then the day series and the graph again.
    void stepStatSelector(QComboBox* box, int size, bool forward);
    // What one profile file adds to the tables, made on any thread: profile keys with their samples
    // (held at their size) and statistics, and the period texts of the file.
    struct FileTables {
        bool opened = false;
        bool hasPeriods = false;
        QString dateDm; // "%1_%2" of date and DM
        QVector<QString> keys;
        QVector<QVector<double>> samples;
        QVector<QVector<double>> stats;
        QVector<QString> periodTexts;
    };
    static FileTables readFileTables(const QString& path, const QString& date, const QString& dm,
                                     int decimals);
    // Adds them on the GUI thread, with the box of a file that did not open; the result of readProfileFile.
    bool storeFileTables(const QString& path, const FileTables& t);
    void detectSite(const QString& dir);
    void buildDerivedTables();
    void fillSelectors();
    void connectWidgets();
    bool valid = false;
};

#endif // PROFILEFORM_H
