#ifndef PROFILEGRAFIKINFO_H
#define PROFILEGRAFIKINFO_H

#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

class ProfileGrafik;
class QLabel;

// The narrow panel beside a statistics graph: a legend row per visible series and, at the bottom, the
// pointer coordinates or the text the graph sends. The owner fills the members and calls createLayout()
// once; the graph is not owned, the child widgets belong to the panel.
class ProfileGrafikInfo : public QWidget {
    Q_OBJECT
public:
    explicit ProfileGrafikInfo(QWidget* parent);

    ProfileGrafik* grafik = nullptr;
    QString grafikType;
    QVector<QString> names;
    QVector<QString> colors;
    QVector<bool> visible;
    QString infoText;
    QLabel* coordsLabel = nullptr;

    void createLayout();

public slots:
    void setCoords(QPointF p, QString str);
};

#endif // PROFILEGRAFIKINFO_H
