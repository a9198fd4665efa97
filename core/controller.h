#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <QFrame>
#include <QPointF>
#include <QString>

class QLabel;

// The information frame at the foot of a side panel: counts and name of the observation file shown.
class Controller : public QFrame {
    Q_OBJECT
public:
    explicit Controller(QWidget* parent);

    // An empty name keeps the one shown.
    void setFileName(const QString& name);
    void setPoints(int n);
    void setRays(int n);
    void setChannels(int n);
    void setModules(int n);

public slots:
    // Kept for receivers of plot coordinates; its two labels are not laid out.
    void setCoords(QPointF point);

private:
    QLabel* labelY;
    QLabel* labelRays;
    QLabel* labelPoints;
    QLabel* labelChannels;
    QLabel* labelModules;
    QLabel* labelFileName;
    QLabel* labelX;
};

#endif // CONTROLLER_H
