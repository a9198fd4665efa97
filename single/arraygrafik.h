#ifndef ARRAYGRAFIK_H
#define ARRAYGRAFIK_H

#include "core/screenfit.h"
#include <QPoint>
#include <QString>
#include <QVector>
#include <QWidget>

class QPainter;
class QProgressBar;

// Curves of numbers on one scale: the arrays of a text file, of every .txt file of a directory, or the
// last channel of every module and ray of an observation file. No panel and no inputs. The work area is
// emptied before the path is read; a path without arrays leaves the view not valid after its warning,
// hidden, for its creator to delete.
class ArrayGrafik : public QWidget {
    Q_OBJECT
public:
    ArrayGrafik(QString path, QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }
    bool isValid() const { return valid; }

    // Arrays of one text file: numbers one per line, or one array per line of blank-separated numbers;
    // "START" discards what was read, "STOP" ends the reading. Empty unless path ends in ".txt" and opens.
    QVector<QVector<float>> readArraysFromTxt(QString path);
    // Appends the last channel of every module and ray of an observation file.
    bool readPnt(QString path);
    void setMaxMin();

    QVector<QVector<float>> arrGrafiks;
    float max = 0;
    float min = 0;
    QVector<QString> colours;

public slots:
    void redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFrame(QPainter* painter);
    void drawLabel(QPainter* painter, QPoint at, const QString& text);
    void drawGraphs(QPainter* painter);

    QProgressBar* progressBar = nullptr;
    bool valid = false;
};

#endif // ARRAYGRAFIK_H
