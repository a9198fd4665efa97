#include "single/ffagrafikinfo.h"

#include "core/calculationholder.h"
#include "core/panelcolumn.h"
#include "core/rectwidget.h"
#include "core/tables.h"
#include "numerics/pulsarcalculate.h"
#include "single/pulsargrafik.h"

#include <QCheckBox>
#include <QDebug>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QFrame* makeBox(QVBoxLayout** layout) {
    auto* box = new QFrame;
    box->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    *layout = new QVBoxLayout(box);
    return box;
}

QWidget* makeRow(const QList<QWidget*>& widgets, const QMargins& margins = QMargins(0, 0, 0, 0)) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(margins);
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    return row;
}

} // namespace

FfaGrafikInfo::FfaGrafikInfo(QWidget* parent) : QWidget(parent) {}

FfaGrafikInfo::~FfaGrafikInfo() = default;

void FfaGrafikInfo::buildPanel() {
    QScrollArea* scroll = PanelColumn::install(this);

    auto* column = new QFrame;
    column->setContentsMargins(0, 3, 0, 0);
    auto* columnLayout = new QVBoxLayout(column);

    for (int i = 0; i < grafikNames.size(); ++i) {
        auto* check = new QCheckBox(QStringLiteral(""), this);
        check->setChecked(true);
        checkBoxes.append(check);
        connect(check, SIGNAL(clicked()), this, SLOT(showGraficsClicked()));
        auto* swatch = new RectWidget(graphColors[i % graphColors.size()], this);
        swatch->setMinimumWidth(20);
        swatch->setMaximumWidth(20);
        columnLayout->addWidget(
            makeRow({swatch, new QLabel(grafikNames[i], this), check}, QMargins(0, 1, 0, 2)));
    }

    QVBoxLayout* infoLayout = nullptr;
    QFrame* infoBox = makeBox(&infoLayout);
    infoBox->setContentsMargins(2, 7, 2, 7);
    infoLayout->setContentsMargins(10, 10, 10, 10);
    labelInfo = new QLabel(infoText, this);
    labelInfo->setObjectName(QStringLiteral("labelInfo"));
    infoLayout->addWidget(labelInfo);
    columnLayout->addWidget(infoBox);

    QVBoxLayout* graphLayout = nullptr;
    QFrame* graphBox = makeBox(&graphLayout);
    graphBox->setContentsMargins(2, 7, 2, 7);
    spinPoints = new QSpinBox(this);
    spinPoints->setObjectName(QStringLiteral("spinPoints"));
    spinPoints->setMinimum(10);
    spinPoints->setMaximum(maxPoints);
    spinPoints->setValue(points);
    graphLayout->addWidget(makeRow({new QLabel(QStringLiteral("Number of points"), this), spinPoints}));
    auto* change = new QPushButton(QStringLiteral("Change points"), this);
    change->setObjectName(QStringLiteral("changePoints"));
    auto* reset = new QPushButton(QStringLiteral("Reset points"), this);
    reset->setObjectName(QStringLiteral("resetPoints"));
    connect(change, SIGNAL(clicked()), this, SLOT(changePoints()));
    connect(reset, SIGNAL(clicked()), this, SLOT(resetPoints()));
    graphLayout->addWidget(makeRow({change, reset}));
    columnLayout->addWidget(graphBox);

    columnLayout->addStretch(5);

    QVBoxLayout* coordsLayout = nullptr;
    QFrame* coordsBox = makeBox(&coordsLayout);
    coordsBox->setContentsMargins(2, 7, 2, 2);
    coordsLayout->setContentsMargins(10, 10, 10, 10);
    labelCoords = new QLabel(QStringLiteral("Coords: set mouse on graph area..."), this);
    labelCoords->setObjectName(QStringLiteral("labelCoords"));
    coordsLayout->addWidget(labelCoords);
    columnLayout->addWidget(coordsBox);

    scroll->setWidget(column);

    if (grafik) {
        connect(grafik, SIGNAL(coordsChanged(QPointF, QVector<QString>)), this,
                SLOT(setCoords(QPointF, QVector<QString>)));
    }
    qDebug() << "action=" << action;
}

// The panel has no sigma control; the slot only completes the set the Fourier panel has.
void FfaGrafikInfo::changeMaxSigma() {}

QString FfaGrafikInfo::currentInfoText() const {
    return calculate ? calculate->infoText : infoText;
}

void FfaGrafikInfo::changePoints() {
    if (!spinPoints || !grafik) {
        return;
    }
    int n = spinPoints->text().toInt();
    if (n > maxPoints) {
        n = maxPoints;
    }
    points = n;
    grafik->points = n;
    grafik->updateRange();
    labelInfo->setText(currentInfoText());
}

void FfaGrafikInfo::resetPoints() {
    if (!spinPoints || !grafik) {
        return;
    }
    grafik->points = maxPoints;
    grafik->updateRange();
    labelInfo->setText(currentInfoText());
    spinPoints->setValue(maxPoints);
}

void FfaGrafikInfo::setCoords(QPointF p, QVector<QString> arrX) {
    if (!labelCoords) {
        return;
    }
    // A plot drawn as one curve per width has no label rows and sends no texts: show them empty.
    const QString first = arrX.size() > 0 ? arrX[0] : QString();
    const QString second = arrX.size() > 1 ? arrX[1] : QString();
    const QString x = QString::number(p.x(), 'f', 0);
    const QString y = QString::number(p.y(), 'f', 3);
    QString text;
    if (action == QLatin1String("showNative")) {
        text = QStringLiteral("num: %1    y: %2\ntime: %3\n\n%4").arg(x, y, first, action);
    } else if (action == QLatin1String("createFFA")) {
        text = QStringLiteral("num: %1    y: %2\nperiod: %3\nfoldbins: %4\n\n%5")
                   .arg(x, y, first, second, action);
    } else {
        text = QStringLiteral("num: %1    y: %2\n\n%3").arg(x, y, action);
    }
    labelCoords->setText(text);
}

void FfaGrafikInfo::showGraficsClicked() {
    if (!grafik) {
        return;
    }
    qDebug() << "GrafikInfo::showGraficsClicked()";
    qDebug() << "n=" << grafik->visible.size();
    // Legend rows beyond the plot's entries have no curve to switch.
    const int n = qMin(checkBoxes.size(), grafik->visible.size());
    for (int i = 0; i < n; ++i) {
        grafik->visible[i] = checkBoxes[i]->isChecked();
    }
    grafik->updateRange();
}
