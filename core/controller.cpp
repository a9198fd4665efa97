#include "core/controller.h"

#include <QLabel>
#include <QSizePolicy>
#include <QVBoxLayout>

Controller::Controller(QWidget* parent) : QFrame(parent, Qt::WindowFlags()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    labelY = new QLabel(this);
    labelRays = new QLabel(this);
    labelPoints = new QLabel(this);
    labelChannels = new QLabel(this);
    labelModules = new QLabel(this);
    labelFileName = new QLabel(this);
    labelX = new QLabel(this);
    labelRays->setObjectName(QStringLiteral("labelRays"));
    labelPoints->setObjectName(QStringLiteral("labelPoints"));
    labelChannels->setObjectName(QStringLiteral("labelChannels"));
    labelModules->setObjectName(QStringLiteral("labelModules"));
    labelFileName->setObjectName(QStringLiteral("labelFileName"));
    labelX->setObjectName(QStringLiteral("labelX"));
    labelY->setObjectName(QStringLiteral("labelY"));
    // A long file name must never widen the panel.
    labelFileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(labelRays);
    layout->addWidget(labelChannels);
    layout->addWidget(labelModules);
    layout->addWidget(labelPoints);
    layout->addWidget(labelFileName);
    labelX->hide();
    labelY->hide();
}

void Controller::setFileName(const QString& name) {
    if (name == QLatin1String("")) {
        return;
    }
    labelFileName->setText(name);
}

void Controller::setPoints(int n) {
    labelPoints->setText(QStringLiteral("%1 points on ray").arg(n));
}

void Controller::setRays(int n) {
    labelRays->setText(QStringLiteral("%1 rays detected").arg(n));
}

void Controller::setChannels(int n) {
    labelChannels->setText(QStringLiteral("%1 channels").arg(n));
}

void Controller::setModules(int n) {
    labelModules->setText(QStringLiteral("%1 modules").arg(n));
}

void Controller::setCoords(QPointF point) {
    labelX->setText(QString::number(point.x()));
    labelY->setText(QString::number(point.y()));
}
