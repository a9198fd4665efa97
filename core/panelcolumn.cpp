#include "core/panelcolumn.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QScrollArea>

QScrollArea* PanelColumn::install(QWidget* panel) {
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(10, 0, 0, 0);
    auto* scroll = new QScrollArea(panel);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setContentsMargins(0, 0, 0, 0);
    scroll->setWidgetResizable(true);
    scroll->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::MinimumExpanding);
    scroll->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    layout->addWidget(scroll);
    return scroll;
}
