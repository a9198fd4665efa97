#ifndef NATIVERIGHT_H
#define NATIVERIGHT_H

#include <QVector>
#include <QWidget>

class Controller;
class NativeGrafik;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
struct Data;

// The control panel right of the native plot: one row per ray (check box, colour swatch, hex edit),
// "Disable all"/"Enable all", the channel spin box and module buttons where the file has more than
// one, and the file's counts. Every change goes straight into the plot, which redraws.
class NativeRight : public QWidget {
    Q_OBJECT
public:
    // parent must be the NativeGrafik that owns data.
    NativeRight(Data* data, QWidget* parent);

private slots:
    void enableAllRays();
    void disableAllRays();
    void moduleChanged();
    void channelChanged(int channel);
    void checkBoxRatesChanged();

private:
    NativeGrafik* grafik = nullptr;
    QSpinBox* channelSpin = nullptr;
    QVector<QCheckBox*> rayCheckBoxes;
    QFrame* content = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* disableButton = nullptr;
    QPushButton* enableButton = nullptr;
    QPushButton* drawButton = nullptr;
    QVector<QLineEdit*> colourEdits;
    QVector<QRadioButton*> moduleRadios;
    Controller* controller = nullptr;
    int rays = 0;
    int channels = 0;
    int modules = 0;
};

#endif // NATIVERIGHT_H
