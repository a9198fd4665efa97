#ifndef NATIVEMULTIFORM_H
#define NATIVEMULTIFORM_H

#include "native/channelsumseries.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

class MainWindow;
class MultiGrafik;
class ProfileGrafik;
class QHBoxLayout;
class QProgressBar;

namespace Ui {
class NativeMultiForm;
}

// The native multi-date form: reads one observation file per date of a directory tree (module 0,
// ray 0, channels 0-6), shows the dedispersed channel sums of every date as a grid or one date as a
// single graph, and keeps the user's green dates in the directory's "green_dates.txt", copying their
// files on request. It lays itself out in the work area; the graphs there belong to the work area's
// layout and are deleted by the next view or form. Connections are made by signature text, so the
// slots' names and argument lists are part of the interface.
class NativeMultiForm : public QWidget {
    Q_OBJECT
public:
    NativeMultiForm(QString dirPath, QWidget* parent);
    ~NativeMultiForm() override;

    bool readDirectory(QString dir);
    QVector<QVector<float>> readNativeFile(QString path);
    QHash<QString, int> readGreenDates(QString path);

    QVector<double> sumChannels(QVector<QVector<float>> channels, double dm);
    QVector<double> deductNoise(QWidget* parent, QVector<double> series, int len);
    QVector<double> makeSeries(QString date, double dm, int averageN, int averageType);

    QString dirPath;
    QString greenFilePath;
    // The views belong to the work area; these clear themselves when it deletes them.
    QPointer<ProfileGrafik> grafik;
    QPointer<MultiGrafik> multiGrafik;
    QString viewName;
    QHash<QString, QVector<QVector<float>>> series;
    QVector<QString> dates;
    QHash<QString, QString> filePaths;
    QHash<QString, int> greenDates;
    // The text after the value of a green date's line, written back with it.
    QHash<QString, QString> greenComments;
    QVector<QString> dispersions;
    QString sourceName;
    QVector<double> fbands;
    double tres = 0;
    int currentRow = 0;
    int currentCol = 0;
    Ui::NativeMultiForm* ui = nullptr;
    MainWindow* mainWindow = nullptr;
    QHBoxLayout* workLayout = nullptr;
    QProgressBar* progressBar = nullptr;

public slots:
    bool drawGrafikMulti(QString date, int row, int col);
    bool drawGrafikMulti();
    bool drawGrafikOne();
    void changedDate(QString date);
    void dateNext();
    void datePre();
    void dispNext();
    void dispPre();
    void redraw(QString text);
    void redraw(int value);
    void redraw(bool checked);
    void redraw();
    void clickedLeftOnGrafik(QString date, int row, int col);
    void clickedRightOnGrafik(QString date, int row, int col);
    void scrollToCurrentGrafik();
    bool saveGreen();
    bool saveGreenAndSay();
    bool writeGreen();

private:
    // A date has data when it holds seven series and the seventh is not empty.
    bool hasData(const QString& date) const;
    // Lays out the form beside the new view, deleting the previous one.
    void showView(QWidget* view);
    // What the panel asks of every graph of a view; read once per view.
    struct Panel {
        double dm = 0;
        QString mode; // "disp0", "disp" or "both"
        ChannelSumSeries::Options options;
    };
    Panel readPanel() const;
    ChannelSumSeries::Options seriesOptions(int averageN, int averageType) const;
    QVector<double> seriesOf(const QString& date, double dm, const ChannelSumSeries::Options& options);
    struct Curves;
    Curves curvesOf(const QString& date, const Panel& panel);
    void connectClicks(ProfileGrafik* g);
    // Dates the last successful saveGreen() wrote.
    int greenWritten = 0;
};

#endif // NATIVEMULTIFORM_H
