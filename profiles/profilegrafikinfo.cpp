#include "profiles/profilegrafikinfo.h"

#include "core/formcolumn.h"
#include "core/panelcolumn.h"
#include "core/profilegrafik.h"
#include "core/rectwidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

ProfileGrafikInfo::ProfileGrafikInfo(QWidget* parent) : QWidget(parent) {}

void ProfileGrafikInfo::createLayout() {
    QScrollArea* scroll = PanelColumn::install(this);

    auto* column = new QFrame(this);
    column->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding); // fills the column
    column->setContentsMargins(0, 3, 0, 0);
    auto* columnLayout = new QVBoxLayout(column);

    for (int i = 0; i < names.size(); ++i) {
        if (!visible.value(i)) {
            continue;
        }
        auto* row = new QWidget(column);
        row->setObjectName(QStringLiteral("legendRow"));
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 1, 0, 2);
        auto* box = new RectWidget(colors.value(i), row);
        box->setMinimumWidth(20);
        box->setMaximumWidth(20);
        rowLayout->addWidget(box);
        rowLayout->addWidget(new QLabel(names[i], row));
        columnLayout->addWidget(row);
    }

    if (grafikType == QLatin1String("statistics") && grafik) {
        connect(grafik, &ProfileGrafik::coordsChanged, this, &ProfileGrafikInfo::setCoords);
    }
    columnLayout->addStretch(5);

    auto* coordsFrame = new QFrame(this);
    coordsFrame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    coordsFrame->setContentsMargins(2, 7, 2, 2);
    auto* coordsLayout = new QVBoxLayout(coordsFrame);
    coordsLayout->setContentsMargins(10, 10, 10, 10);
    coordsLabel = new QLabel(QStringLiteral("Coords: click on graph area..."), coordsFrame);
    // Wrapped, so that the text under the moving mouse never changes the panel's width.
    coordsLabel->setWordWrap(true);
    coordsLayout->addWidget(coordsLabel);
    coordsLayout->addWidget(new QLabel(infoText, coordsFrame));
    columnLayout->addWidget(coordsFrame);
    scroll->setWidget(column);
    // At least a 250 px column beside its 10 px left margin.
    FormColumn::fit(this, scroll, 260);
}

void ProfileGrafikInfo::setCoords(QPointF p, QString str) {
    if (!coordsLabel) {
        return;
    }
    if (!str.isEmpty()) {
        coordsLabel->setText(str);
        return;
    }
    const int px = grafik ? grafik->precisionX : 0;
    const int py = grafik ? grafik->precisionY : 0;
    coordsLabel->setText(
        QStringLiteral("X: %1  Y: %2").arg(QString::number(p.x(), 'f', px), QString::number(p.y(), 'f', py)));
}
