#ifndef SEARCHNATIVEFORM_H
#define SEARCHNATIVEFORM_H

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QVector>
#include <QWidget>

class MainWindow;
class QHBoxLayout;
class QProgressBar;
class SearchNativeGrafik;
class SearchNativeMultiGrafik;

namespace Ui {
class SearchNativeForm;
}

// The search-result browser: reads a tree of search-result text files once, in the constructor (one
// series per date and DM), then shows them in the work area beside its panel as a grid of dates by DMs
// or as one graph. The form owns its panel record and its data; plots and grids belong to the work area
// and are replaced by each view. A tree that is missing or holds no dated files leaves the form not
// valid after its warning, hidden and unconnected, with the work area untouched; its creator deletes it.
class SearchNativeForm : public QWidget {
    Q_OBJECT
public:
    SearchNativeForm(QString dir, QString mode, QWidget* parent);
    ~SearchNativeForm() override;

    bool isValid() const { return valid; }

    // Reads the whole tree; true when at least one date was found.
    bool readDir(QString dir);
    // Reads one file into series, dispersions and the date's range.
    void readResultFile(QString path, QString date);

    QString dirPath;
    QString viewName; // "", "one" or "multi"
    QVector<QString> dates;
    QVector<QString> dispersions;
    QHash<QString, QVector<double>> series;           // "%1_%2" of date and DM -> series
    QHash<QString, QPair<double, double>> dateMaxMin; // date -> (maximum, minimum)
    SearchNativeGrafik* grafik = nullptr;
    SearchNativeMultiGrafik* multiGrafik = nullptr;
    Ui::SearchNativeForm* ui = nullptr;
    MainWindow* mainWindow = nullptr;
    QHBoxLayout* workLayout = nullptr;
    QProgressBar* progressBar = nullptr;

signals:
    void progress(int);

public slots:
    void changedDate(QString date);
    void changedDispersion(QString disp);
    void dateNext();
    void datePre();
    void dispNext();
    void dispPre();
    bool drawGrafikOne();
    bool drawGrafikMulti();
    bool checkFormAndRedraw();
    void scrollToCurrentGrafik();

private:
    void warn(const QString& text);
    // One file as the tables take it, parsed on any thread: its DM texts in the order the file names
    // them, its series under their "%1_%2" keys of date and DM, its range if it has numbers.
    struct ParsedFile {
        bool opened = false;
        QVector<QString> dispersions;
        QVector<QPair<QString, QVector<double>>> series;
        bool hasRange = false;
        double maximum = 0;
        double minimum = 0;
    };
    static ParsedFile parseResultFile(const QString& path, const QString& date);
    // What a parsed file adds to the tables, on the GUI thread, with the box of a file that did not open.
    void storeResultFile(const QString& path, const QString& date, const ParsedFile& file);
    // Quick look-ups beside the ordered lists.
    QSet<QString> knownDates;
    QSet<QString> knownDispersions;
    bool valid = false;
};

#endif // SEARCHNATIVEFORM_H
