#ifndef FOURIERFORM_H
#define FOURIERFORM_H

#include "directory/calc/records.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>
#include <QWidget>

#include <memory>

class CalculationHolder;
class FourierGrafik;
class FourierGrafikInfo;
class FourierTable;
class QCheckBox;
class QHBoxLayout;
class QProgressBar;
class QTableWidgetItem;

namespace Ui {
class FourierForm;
}

// The directory form: scans a pulsar's sum-results directory or a search-results tree once, lists its
// caches, days or search directories in a FourierTable and, on each press of Ok, runs one graph type
// through a new FourierCalculate and hands the result to the graph and a new info panel. Created by the
// main window's six directory entries with the window as parent; a form whose scan failed shows nothing,
// reports !isValid() and is left for its creator to delete. The form owns `ui` and its value members;
// table, graph and panel are its children laid out in the work area; each run's calculation lives in a
// CalculationHolder that the newest panel keeps alive.
class FourierForm : public QWidget {
    Q_OBJECT
public:
    FourierForm(QString dir, bool isFfa, bool isMap, bool isSearch, QWidget* parent);
    ~FourierForm() override;

    bool isValid() const { return valid; }

    int firstYear = 2014;
    int currentYear = 0;
    QString dir;
    QString selectedDir;
    QHash<QString, QString> searchDirPaths;
    QString pulsarName;
    QTime raTime;
    int module = 0;
    int ray = 0;
    QVector<int> dispersions;
    QStringList allRows;
    QStringList tableRows;
    bool showYears = false;
    bool showMonthes = false;
    bool showOthers = false;
    bool showDays = false;
    QHash<int, int> yearStates;
    // Cache/day check states, index for index with tableRows; kept while another table kind is shown.
    QVector<bool> rowChecked;
    // Check states of the 3-sigma table, index for index with harmonics3sigma.
    QVector<bool> harmonicChecked;
    QMap<QString, QString> rowKinds;
    // Day row -> directories below `dir` where the scan found it.
    QHash<QString, QStringList> rowLocations;
    FourierTable* table = nullptr;
    FourierGrafik* grafik = nullptr;
    FourierGrafikInfo* grafikInfo = nullptr;
    QHBoxLayout* layout = nullptr;
    QString lastMapFile;
    QVector<MapPoint> mapPoints;
    bool canGoBack = false;
    int withNulls = 1;
    QMutex mutex;
    QVector<int> harmonics3sigma;
    QHash<int, bool> harmonicWithNulls;
    QHash<QString, Sum3sigmaRecord> sum3sigma;
    QStringList pnthrRows;
    bool isFfa = false;
    bool isSearch = false;
    bool asIs = false;
    QString nCode;
    bool goingBack = false;
    QString savedDispersion;
    int savedShift = 0;
    int savedAverages = 0;
    QString savedWithNull;
    int savedSumAlfa = 0;
    Ui::FourierForm* ui = nullptr;
    QWidget* mainWindow = nullptr;
    QProgressBar* progressBar = nullptr;
    bool need3sigmaRead = true;
    bool needPnthrRead = true;
    QPointF savedClick0;
    QPointF savedClick1;
    QPointF savedClick2;
    int savedHarmonic = 0;
    QString tableKind;
    // Calculations run so far (each press runs at most one).
    int calculations = 0;
    // The X window fields hold the bounds of this X quantity (FourierFormRules::xQuantity); the other
    // quantities' bounds wait here, so a period window never cuts a DM axis, nor the reverse.
    QString boundsQuantity;
    QHash<QString, QPair<QString, QString>> otherBounds;

signals:
    void progress(int);
    void mainWindowSizeChanged();

public slots:
    void redraw();
    void changedAction();

    // Table kinds, checks and colours.
    void redrawTable();
    void redrawTable(QString tableType);
    void redrawTableWidget(QString tableType);
    void clearTable();
    void checkTable();
    void changedTableCheckBox();
    void clickedSumWithNulls();
    void changedAverageWithNull(QString text);

    // Search tables and clicked rows.
    void selectInTableSearch();
    void changeTableSearch();
    void clickedTableItem1(QString text);
    void changeFormByTable(QList<QTableWidgetItem*> items);

    // Single inputs.
    void changedModule(int value);
    void changedRay(int value);
    void changedShowDispersion(QString text);
    void changedDispersion(QString text);
    void changedFirstPointShift(int value);
    void changedAverageCount(int value);
    void changedSumAlfa(int value);
    void changedCirclePlus(int value);
    void changedStopIncreasePeriod(QString text);
    void changedAsIs();
    void changedFfaAsIs();
    void clicked3sigmaYears();
    void changedSum3sigmaKoeff(QString text);
    void clickedAdditional();
    void clickedAdditionalFFA();
    void clickedFfaInfo();
    void setGraphWidth(QString width);
    void setGraphHeight(QString height);
    void redrawSearch();
    void changedPeriod(QString text);
    void changedHarmonicNumber(QString text);
    void showFfaInfo();
    void changeGraphSize();
    void changedPlosh(QString text);
    void checkDispersion(QString text);
    void clearAllYears();
    void checkAllYears();
    void checkYears();

    // Saving what the graph shows.
    void saveText();
    void saveImage();

    // Maps: links from the panel and the way back.
    void clickedOnHarmonicLink(int id, QPointF point0, QPointF point1, QPointF point2);
    void back();
    void clickedMapAll();

private slots:
    bool readPnthrList();
    bool readHarmonics3sigma();

private:
    bool scan();
    // The fills both modes share, before the mode's own.
    void setupCommon();
    void setupSumMode();
    void setupSearchMode();
    void runStartAction(bool isMap);
    void connectInputs();
    void connectTable();
    void placeWidgets();

    QString readHarmonicsMap(const QString& fileName);
    void filterMapPoints();

    // Hands a successful run to the graph and a new panel; `maxX` is the window high read at the start.
    void showResult(const std::shared_ptr<CalculationHolder>& holder, const QString& title,
                    const QString& captionY, double maxX);
    void showFailure(const QString& errors);
    // Puts the window bounds of the graph type's X quantity into the fields, keeping those shown.
    void takeBoundsOf(const QString& grafikType);
    void showBounds(const QString& minX, const QString& maxX);

    void warn(const QString& text);
    // The year boxes of the table and of the 3-sigma sums, 2014 first.
    QList<QCheckBox*> yearBoxes() const;
    QList<QCheckBox*> sumYearBoxes() const;
    // A search directory names its source only through the beam the inputs show.
    void setPulsarNameFromBeam();

    QCheckBox* rowCheckBox(int row) const;
    void setRowChecked(int row, bool checked);
    QVector<bool> readTableChecks(int rows) const;
    void colourHarmonicRows();

    bool valid = false;
    // Counts redraws: a run that finds, after resolving its "all" choices, that a nested run started
    // leaves the drawing to that run.
    int generation = 0;
    // While above 0, redraw returns at once: a slot that sets several inputs draws once at its end.
    int heldRedraws = 0;
};

#endif // FOURIERFORM_H
