#ifndef NATIVEGRAFIK_H
#define NATIVEGRAFIK_H

#include "core/data.h"
#include "core/screenfit.h"

#include <QPoint>
#include <QString>
#include <QVector>
#include <QWidget>

class QPainter;
class QProgressBar;

// The raw samples of one observation file: one curve per enabled ray of one module and channel
// against the point index, with the side panel NativeRight to its right. The panel writes module,
// channel and rayEnabled and calls redraw(). The work area is emptied before the file is read; a file
// without data leaves the view not valid after its warning, hidden and without panel, for its creator
// to delete.
class NativeGrafik : public QWidget {
    Q_OBJECT
public:
    // withoutStep != 0 flattens the calibration step in the (cached, shared) samples; 0 only reports it.
    NativeGrafik(QString fileName, int withoutStep, QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }
    bool isValid() const { return valid; }

    // Range of every ray of one module and channel: max starts at 0, min at the file's very first
    // sample. Indices outside the record are refused and leave the range as it was.
    void setMaxMin(int module, int channel);

    Data data;
    int channel = 0;
    int module = 0;
    float max = 0;
    float min = 0;
    QVector<bool> rayEnabled;
    QVector<QString> colours;

public slots:
    void redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Data readData(const QString& fileName);
    void drawFrame(QPainter* painter);
    void drawLabel(QPainter* painter, QPoint at, const QString& text);
    void drawGraphs(QPainter* painter);

    QProgressBar* progressBar = nullptr;
    bool valid = false;
};

#endif // NATIVEGRAFIK_H
