#include "directory/views/fouriergrafikinfo.h"

#include "core/circlewidget.h"
#include "core/clicklable.h"
#include "core/formcolumn.h"
#include "core/panelcolumn.h"
#include "core/rectwidget.h"
#include "core/tables.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fouriergrafik.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QWidget* makeRow(const QList<QWidget*>& widgets, const QMargins& margins) {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(margins);
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    return row;
}

QFrame* makeFrame(QWidget* owner, QVBoxLayout* column, const QMargins& margins) {
    auto* frame = new QFrame(owner);
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    frame->setContentsMargins(margins);
    new QVBoxLayout(frame);
    column->addWidget(frame);
    return frame;
}

bool oneOf(const QString& s, std::initializer_list<const char*> list) {
    for (const char* item : list) {
        if (s == QLatin1String(item)) {
            return true;
        }
    }
    return false;
}

} // namespace

FourierGrafikInfo::FourierGrafikInfo(QWidget* parent) : QWidget(parent) {}

FourierGrafikInfo::~FourierGrafikInfo() = default;

void FourierGrafikInfo::addSymbolRows(QVBoxLayout* column, const QStringList& texts) {
    column->addWidget(new QLabel(QStringLiteral(" "), this));
    for (int k = 1; k <= texts.size(); ++k) {
        auto* circle = new CircleWidget(std::max(0, k + circlePlus), QStringLiteral("#FF0000"), this);
        circle->setFixedWidth(40);
        column->addWidget(makeRow({circle, new QLabel(texts[k - 1], this)}, QMargins(0, 1, 0, 2)));
    }
}

void FourierGrafikInfo::createWidgets() {
    QScrollArea* scroll = PanelColumn::install(this);
    auto* columnFrame = new QFrame(this);
    columnFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding); // fills the column
    columnFrame->setContentsMargins(0, 3, 0, 0);
    auto* column = new QVBoxLayout(columnFrame);
    scroll->setWidget(columnFrame);

    // Legend.
    if (grafikType != QLatin1String("sum3sigma")) {
        const bool withBoxes =
            oneOf(grafikType, {"fourier", "harmDispOne", "harmDispAverage", "harmDispFirstPoint"});
        for (int i = 0; i < names.size(); ++i) {
            QList<QWidget*> parts;
            if (withBoxes) {
                auto* box = new QCheckBox(this);
                box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
                box->setChecked(true);
                colorCheckBoxes.append(box);
                connect(box, &QCheckBox::clicked, this, &FourierGrafikInfo::colorCheckBoxChanged);
                parts << box;
            }
            auto* swatch = new RectWidget(graphColors[i % graphColors.size()], this);
            swatch->setFixedWidth(grafikType == QLatin1String("map") ? 40 : 20);
            parts << swatch << new QLabel(names[i], this);
            column->addWidget(makeRow(parts, QMargins(0, 1, 0, 2)));
        }
    }

    // The block of the graph type.
    auto mapTail = [&]() {
        column->addWidget(new QLabel(QStringLiteral("\nAxis Y: dispersion\nAxis X: period, sec\n\n"), this));
        clickLabel = new QLabel(QStringLiteral("\nClick on map to see info about point..."), this);
        column->addWidget(clickLabel);
        harmonicsWidget = new QWidget(this);
        harmonicsLayout = new QVBoxLayout(harmonicsWidget);
        harmonicsLayout->setContentsMargins(0, 0, 0, 0);
        column->addWidget(harmonicsWidget);
        if (grafik) {
            connect(grafik, &FourierGrafik::clickedOnMap, this, &FourierGrafikInfo::showMapInfo);
        }
    };
    if (grafikType == QLatin1String("sum3sigma")) {
        column->addWidget(new QLabel(QStringLiteral(" "), this));
        clickLabel =
            new QLabel(QStringLiteral("\nClick on circle in graph to see info about point..."), this);
        column->addWidget(clickLabel);
        pointInfoLabel = new QLabel(this);
        column->addWidget(pointInfoLabel);
        writeButton = new QPushButton(QStringLiteral("Write to file"), this);
        writeButton->setFixedSize(100, 23);
        writeButton->hide();
        connect(writeButton, &QPushButton::clicked, this, &FourierGrafikInfo::write3sigmaToFile);
        column->addWidget(writeButton);
        if (grafik) {
            connect(grafik, &FourierGrafik::clickedOnPoint3sigma, this, &FourierGrafikInfo::show3sigmaInfo);
        }
    } else if (grafikType == QLatin1String("map")) {
        addSymbolRows(column, {QStringLiteral("   4 <= snr < 5"), QStringLiteral("   5 <= snr < 6"),
                               QStringLiteral("   6 <= snr < 7"), QStringLiteral("   7 <= snr < 8"),
                               QStringLiteral("   8 <= snr < 9"), QStringLiteral("   9 <= snr < 10"),
                               QStringLiteral(" 10 <= snr")});
        mapTail();
    } else if (grafikType == QLatin1String("ffaMap")) {
        // Each bound is the previous unrounded one times 1.35.
        QStringList texts;
        double v = minSnr;
        for (int k = 1; k <= 6; ++k) {
            texts << QStringLiteral("   %1 <= snr < %2")
                         .arg(FourierGrafik::fixed(v, 1), FourierGrafik::fixed(v * 1.35, 1));
            v *= 1.35;
        }
        texts << QStringLiteral("   %1 <= snr").arg(FourierGrafik::fixed(v, 1));
        addSymbolRows(column, texts);
        mapTail();
    } else if (oneOf(grafikType, {"harmDispAverage", "harmDispFirstPoint"})) {
        QFrame* frame = makeFrame(this, column, QMargins(2, 7, 2, 7));
        frame->layout()->addWidget(new QLabel(
            QStringLiteral("S/N of harmonic %1 on DM=%2\n").arg(harmonic).arg(int(dispersion)), this));
        mainViewButton = new QPushButton(QStringLiteral("S/N from DM"), this);
        mainViewButton->setObjectName(QStringLiteral("mainViewButton"));
        mainViewButton->setEnabled(false);
        multiViewButton = new QPushButton(grafikType == QLatin1String("harmDispAverage")
                                              ? QStringLiteral("S/N from average")
                                              : QStringLiteral("S/N from time shift"),
                                          this);
        multiViewButton->setObjectName(QStringLiteral("multiViewButton"));
        connect(multiViewButton, &QPushButton::clicked, this, &FourierGrafikInfo::showMultiResult);
        connect(mainViewButton, &QPushButton::clicked, this, &FourierGrafikInfo::returnMultiGrafiks);
        frame->layout()->addWidget(makeRow({mainViewButton, multiViewButton}, QMargins()));
    }

    const bool mapLike = oneOf(grafikType, {"map", "sum3sigma", "ffaMap"});
    if (!mapLike) {
        QFrame* frame = makeFrame(this, column, QMargins(2, 7, 2, 7));
        frame->layout()->setContentsMargins(10, 10, 10, 10);
        frame->layout()->addWidget(new QLabel(QStringLiteral("Calculation:\n"), this));
        textLabel = new QLabel(this);
        textLabel->setObjectName(QStringLiteral("textLabel"));
        // Lists of unreadable files carry whole paths.
        FormColumn::setWrappedText(textLabel, text);
        frame->layout()->addWidget(textLabel);
    }
    if (!mapLike && !grafikType.isEmpty()) {
        QFrame* frame = makeFrame(this, column, QMargins(2, 7, 2, 7));
        pointsSpinBox = new QSpinBox(this);
        pointsSpinBox->setObjectName(QStringLiteral("pointsSpinBox"));
        pointsSpinBox->setMinimum(10);
        pointsSpinBox->setMaximum(maxPoints);
        pointsSpinBox->setValue(points);
        frame->layout()->addWidget(
            makeRow({new QLabel(QStringLiteral("Grafik:\n\n"), this),
                     new QLabel(QStringLiteral("Number of points"), this), pointsSpinBox},
                    QMargins()));
        auto* change = new QPushButton(QStringLiteral("Change points"), this);
        change->setObjectName(QStringLiteral("changePoints"));
        auto* reset = new QPushButton(QStringLiteral("Reset points"), this);
        reset->setObjectName(QStringLiteral("resetPoints"));
        connect(change, &QPushButton::clicked, this, &FourierGrafikInfo::changePoints);
        connect(reset, &QPushButton::clicked, this, &FourierGrafikInfo::resetPoints);
        frame->layout()->addWidget(makeRow({change, reset}, QMargins()));
    }
    column->addStretch(5);

    QFrame* coords = makeFrame(this, column, QMargins(2, 7, 2, 2));
    coords->layout()->setContentsMargins(10, 10, 10, 10);
    coordsLabel = new QLabel(QStringLiteral("Coords: click on graph area..."), this);
    coordsLabel->setObjectName(QStringLiteral("coordsLabel"));
    // Wrapped, so that the coordinates under the moving mouse never change the panel's width.
    coordsLabel->setWordWrap(true);
    coords->layout()->addWidget(coordsLabel);
    coords->layout()->addWidget(new QLabel(summaryText, this));

    if (grafik) {
        connect(grafik, &FourierGrafik::coordsChanged, this, &FourierGrafikInfo::setCoords);
    }
    // The column's 300 px and its left margin.
    FormColumn::fit(this, scroll, 310);
}

void FourierGrafikInfo::changePoints() {
    if (!grafik || !pointsSpinBox) {
        return;
    }
    points = pointsSpinBox->text().toInt();
    if (points > maxPoints) {
        points = maxPoints;
    }
    grafik->points = points;
    grafik->updateRange();
    if (calc) {
        FormColumn::setWrappedText(textLabel, calc->text);
    }
}

void FourierGrafikInfo::resetPoints() {
    if (!grafik || !pointsSpinBox) {
        return;
    }
    grafik->points = maxPoints;
    grafik->updateRange();
    if (calc) {
        FormColumn::setWrappedText(textLabel, calc->text);
    }
    pointsSpinBox->setValue(maxPoints);
}

void FourierGrafikInfo::showMultiResult() {
    if (!grafik || !calc) {
        return;
    }
    grafik->arrGrafikY = calc->multiGrafikY;
    grafik->arrGrafikX.clear();
    grafik->labelsMulti1 = calc->multiLabelsX1;
    grafik->labelsMulti2 = calc->multiLabelsX2;
    grafik->markers = calc->multiMarkers;
    grafik->visible = calc->multiVisible;
    grafik->points = calc->multiPoints;
    if (grafikType == QLatin1String("harmDispAverage")) {
        grafik->title = QStringLiteral("S/N on DM from average");
    } else if (grafikType == QLatin1String("harmDispFirstPoint")) {
        grafik->title = QStringLiteral("S/N on DM from time");
    }
    grafik->updateRange();
    if (textLabel) {
        FormColumn::setWrappedText(textLabel, calc->multiText);
    }
    if (mainViewButton && multiViewButton) {
        mainViewButton->setEnabled(true);
        multiViewButton->setEnabled(false);
    }
}

void FourierGrafikInfo::returnMultiGrafiks() {
    if (!grafik || !calc) {
        return;
    }
    grafik->arrGrafikY = calc->arrGrafikY;
    grafik->arrGrafikX = calc->arrGrafikX;
    grafik->labelsMulti1.clear();
    grafik->labelsMulti2.clear();
    grafik->visible = calc->visible;
    grafik->points = calc->curvePoints;
    grafik->title = QStringLiteral("S/N from DM");
    grafik->updateRange();
    if (textLabel) {
        FormColumn::setWrappedText(textLabel, calc->text);
    }
    if (mainViewButton && multiViewButton) {
        mainViewButton->setEnabled(false);
        multiViewButton->setEnabled(true);
    }
}

void FourierGrafikInfo::colorCheckBoxChanged() {
    if (!grafik) {
        return;
    }
    grafik->visible.clear();
    for (QCheckBox* box : colorCheckBoxes) {
        grafik->visible.append(box->isChecked());
    }
    grafik->updateRange();
}

void FourierGrafikInfo::setCoords(QPointF p, QVector<QString> arrX) {
    if (!coordsLabel) {
        return;
    }
    const double x = p.x();
    const double y = p.y();
    // A label the graph did not send reads "no".
    const QString label0 = arrX.value(0, QStringLiteral("no"));
    const QString label1 = arrX.value(1, QStringLiteral("no"));
    QString shown;
    if (grafikType == QLatin1String("fourier")) {
        const double whole = std::trunc(x);
        const int harmonicUnder = std::isfinite(whole) ? int(std::clamp(whole, -2.0e9, 2.0e9)) : -1;
        const double period = FourierCalculate::getPeriodOfHarmonic(harmonicUnder, withNulls, tres);
        const double frequency = period > 0 ? 1 / period : -1;
        shown = QStringLiteral("X: %1  Y: %2\nPeriod: %3\nFrequency: %4")
                    .arg(FourierGrafik::fixed(x, 0), FourierGrafik::fixed(y, 4),
                         FourierGrafik::fixed(period, 4), FourierGrafik::fixed(frequency, 4));
    } else if (oneOf(grafikType, {"map", "ffaMap"})) {
        shown = QStringLiteral("Dispersion:  %1\nPeriod:         %2")
                    .arg(FourierGrafik::fixed(y, 1), FourierGrafik::fixed(x, 3));
    } else if (grafikType == QLatin1String("sum3sigma")) {
        shown =
            QStringLiteral("Disp:\t%1\nSnr:\t%2").arg(FourierGrafik::fixed(x, 2), FourierGrafik::fixed(y, 1));
    } else if (grafikType == QLatin1String("ffa") && !forPrint) {
        shown = QStringLiteral("S/N: %1\npoint: %2, period: %3, foldbins: %4")
                    .arg(FourierGrafik::fixed(y, 2), FourierGrafik::fixed(x, 0), label0, label1);
    } else if (grafikType == QLatin1String("ffa")) {
        shown = QStringLiteral("S/N: %1\nPeriod:%2\nPoint:%3")
                    .arg(FourierGrafik::fixed(y, 0), label0, FourierGrafik::fixed(x, 0));
    } else if (oneOf(grafikType, {"ffaSnrDisp", "ffaSnrDispFirstPoint"})) {
        shown =
            QStringLiteral("Disp:\t%1\nSnr:\t%2").arg(FourierGrafik::fixed(x, 0), FourierGrafik::fixed(y, 1));
    } else {
        shown = QStringLiteral("X: %1  Y: %2")
                    .arg(FourierGrafik::fixed(x, grafik ? grafik->precisionX : 0),
                         FourierGrafik::fixed(y, grafik ? grafik->precisionY : 3));
    }
    coordsLabel->setText(shown);
}

void FourierGrafikInfo::clickedOnHarmonic() {
    if (!mapPoints || mapPoints->isEmpty()) {
        return;
    }
    auto* link = qobject_cast<ClickLable*>(sender());
    if (!link) {
        return;
    }
    emit signalClickedOnHarmonic(link->index(), clickPoint0, clickPoint1, clickPoint2);
}
