#ifndef PERIODFORM_H
#define PERIODFORM_H

#include "directory/calc/periodsearch.h"

#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

class FourierGrafik;
class FourierGrafikInfo;
class QHBoxLayout;
class QProgressBar;

namespace Ui {
class PeriodForm;
}

// The period-search form: reads a file of pulse times (a times file, or a pulse list in mode "points"),
// keeps the differences between consecutive pulses and searches the period of which they are whole
// multiples, drawn in a FourierGrafik (mode 4) with a FourierGrafikInfo of text lists beside it.
// The file is read before the work area is touched: when reading fails the form is not valid, the
// previous view stays, and the caller deletes the form. Graph and panel live in the work area and may
// go before the form does.
class PeriodForm : public QWidget {
    Q_OBJECT
public:
    PeriodForm(const QString& fileName, const QString& mode, QWidget* parent);
    ~PeriodForm() override;

    bool isValid() const { return valid; }

    bool readTimesFile(const QString& fileName);
    bool readPnthrList(const QString& fileName);

    QString nearPeriodText(const QString& value, int limit) const;
    QString resultsUnderYText(const QString& value, int limit) const;
    QString resultsOverYText(const QString& value, int limit) const;
    // A utility kept with the form; no operation calls it.
    static double fractionalGcd(qint64 time1, qint64 time2);

    QString periodType;
    QPointer<FourierGrafik> grafik;
    QPointer<FourierGrafikInfo> grafikInfo;
    QHBoxLayout* layout = nullptr;
    QString infoText;
    QVector<qint64> times;
    QVector<double> dTimes0;
    QVector<double> dTimes;
    QVector<double> scores;
    QVector<double> periods;
    Ui::PeriodForm* ui = nullptr;
    // The main window as a plain widget: no view includes the app.
    QWidget* mainWindow = nullptr;
    QProgressBar* progressBar = nullptr;

signals:
    void progress(int);

public slots:
    bool showTimes();
    bool showDTimes();
    bool findPeriod();
    bool drawPeriod();
    bool drawPeriodMnk();
    bool drawPeriodMnkPre();
    void periodFindChanged(QString periodFind);
    void yLineChanged(QString yLine);
    void redraw();
    bool createDTimes0();
    bool createDTimes(QString str);
    bool createDTimes();

private:
    // The inputs both searches read, scaled to ms but for the sought period, with their candidates.
    struct SearchInputs {
        double fromMs = 0;
        double toMs = 0;
        double stepMs = 0;
        double toleranceMs = 0;
        double sought = 0; // s, as typed
        QVector<double> candidates;
    };
    // False, after the warning, when the range cannot be searched.
    bool readSearchInputs(SearchInputs& in);
    bool draw(PeriodSearch::Score score, const QString& kind);
    // The list of the last draw's kind against the threshold value.
    QString resultsText(const QString& value) const;

    PeriodSearch search;
    bool valid = false;
};

#endif // PERIODFORM_H
