#include "single/pulsargrafikinfo.h"

#include "core/busyguard.h"
#include "core/calculationholder.h"
#include "core/colorwidget.h"
#include "core/panelcolumn.h"
#include "core/tables.h"
#include "numerics/pulsarcalculate.h"
#include "single/onefilerun.h"
#include "single/pulsargrafik.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QFrame* makeBox(QWidget* owner, QVBoxLayout* column, const QMargins& margins) {
    auto* box = new QFrame(owner);
    box->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    box->setContentsMargins(margins);
    new QVBoxLayout(box);
    column->addWidget(box);
    return box;
}

QWidget* makeRow(QWidget* owner, const QList<QWidget*>& widgets, const QMargins& margins = QMargins()) {
    auto* row = new QWidget(owner);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(margins);
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    return row;
}

QPushButton* makeButton(PulsarGrafikInfo* panel, const QString& text, const QString& name) {
    auto* button = new QPushButton(text, panel);
    button->setObjectName(name);
    return button;
}

int textWidth(const QWidget* w, const QString& text) {
    return QFontMetrics(w->font()).horizontalAdvance(text);
}

} // namespace

PulsarGrafikInfo::PulsarGrafikInfo(QWidget* parent) : QWidget(parent) {}

PulsarGrafikInfo::~PulsarGrafikInfo() = default;

void PulsarGrafikInfo::buildPanel() {
    QScrollArea* scroll = PanelColumn::install(this);
    auto* columnFrame = new QFrame(scroll);
    auto* column = new QVBoxLayout(columnFrame);
    scroll->setWidget(columnFrame);

    // Legend. The swatches read their colour from line edits that only carry the text: they are
    // kept hidden, outside any layout.
    for (int i = 0; i < grafikNames.size(); ++i) {
        auto* colourSource = new QLineEdit(graphColors[i % graphColors.size()], this);
        colourSource->setMaximumWidth(textWidth(colourSource, QStringLiteral("FFFFFF")) + 80);
        colourSource->hide();
        auto* swatch = new ColorWidget(colourSource, this);
        swatch->setMinimumWidth(20);
        swatch->setMaximumWidth(20);
        column->addWidget(makeRow(this, {swatch, new QLabel(grafikNames[i], this)}, QMargins(1, 1, 1, 1)));
    }

    if (action == QLatin1String("sumChannelsAndFourier")) {
        QFrame* box = makeBox(this, column, QMargins(2, 7, 2, 2));
        spinMaxSigma = new QSpinBox(this);
        spinMaxSigma->setObjectName(QStringLiteral("spinMaxSigma"));
        spinMaxSigma->setMinimum(1);
        spinMaxSigma->setMaximum(1000);
        spinMaxSigma->setValue(maxSigma);
        box->layout()->addWidget(makeRow(this, {new QLabel(tr("Max sigma"), this), spinMaxSigma}));
        QPushButton* redraw = makeButton(this, tr("Redraw max sigma"), QStringLiteral("buttonMaxSigma"));
        connect(redraw, SIGNAL(clicked()), this, SLOT(changeMaxSigma()));
        box->layout()->addWidget(redraw);
    } else if (action == QLatin1String("sum4Dispersions")) {
        QFrame* box = makeBox(this, column, QMargins(2, 7, 2, 7));
        auto* warning = new QLabel(tr("Attention! Delimiter must be a dot!"), this);
        warning->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0)"));
        box->layout()->addWidget(warning);
        QLineEdit** edits[] = {&editDispersion1, &editDispersion2, &editDispersion3, &editDispersion4};
        for (int k = 0; k < 4; ++k) {
            auto* edit = new QLineEdit(QString::number(dispersions.value(k), 'g', 6), this);
            edit->setObjectName(QStringLiteral("editDispersion%1").arg(k + 1));
            edit->setMaximumWidth(textWidth(edit, QStringLiteral("26,18975")) + 10);
            *edits[k] = edit;
            box->layout()->addWidget(makeRow(this, {new QLabel(tr("Dispersion %1").arg(k + 1), this), edit}));
        }
        QPushButton* redraw = makeButton(this, tr("Redraw"), QStringLiteral("buttonDispersions"));
        connect(redraw, SIGNAL(clicked()), this, SLOT(changeDispersions()));
        box->layout()->addWidget(redraw);
    } else if (action == QLatin1String("sumMultiDispersions") ||
               action == QLatin1String("sumTimeDispersions")) {
        QFrame* box = makeBox(this, column, QMargins(2, 7, 2, 7));
        editMultiDispersion = new QLineEdit(QString::number(double(multiDispersion), 'g', 6), this);
        editMultiDispersion->setObjectName(QStringLiteral("editMultiDispersion"));
        editMultiDispersion->setMaximumWidth(textWidth(editMultiDispersion, QStringLiteral("26.123456")) +
                                             10);
        box->layout()->addWidget(
            makeRow(this, {new QLabel(tr("Show result on dispersion:"), this), editMultiDispersion}));
        QPushButton* show = makeButton(this, tr("Show result"), QStringLiteral("buttonShowResult"));
        QPushButton* back = makeButton(this, tr("Return multi grafs"), QStringLiteral("buttonReturnMulti"));
        connect(show, SIGNAL(clicked()), this, SLOT(showMultiResult()));
        connect(back, SIGNAL(clicked()), this, SLOT(returnMultiGrafiks()));
        box->layout()->addWidget(makeRow(this, {show, back}));
    }

    QFrame* calcBox = makeBox(this, column, QMargins(2, 7, 2, 7));
    calcBox->layout()->setContentsMargins(10, 10, 10, 10);
    calcBox->layout()->addWidget(new QLabel(tr("Calculation:\n"), this));
    labelInfo = new QLabel(infoText, this);
    labelInfo->setObjectName(QStringLiteral("labelInfo"));
    calcBox->layout()->addWidget(labelInfo);

    QFrame* graphBox = makeBox(this, column, QMargins(2, 7, 2, 7));
    spinPoints = new QSpinBox(this);
    spinPoints->setObjectName(QStringLiteral("spinPoints"));
    spinPoints->setMinimum(10);
    spinPoints->setMaximum(maxPoints);
    spinPoints->setValue(points);
    graphBox->layout()->addWidget(makeRow(
        this, {new QLabel(tr("Grafik:\n\n"), this), new QLabel(tr("Number of points"), this), spinPoints}));
    QPushButton* change = makeButton(this, tr("Change points"), QStringLiteral("buttonChangePoints"));
    QPushButton* reset = makeButton(this, tr("Reset points"), QStringLiteral("buttonResetPoints"));
    connect(change, SIGNAL(clicked()), this, SLOT(changePoints()));
    connect(reset, SIGNAL(clicked()), this, SLOT(resetPoints()));
    graphBox->layout()->addWidget(makeRow(this, {change, reset}));

    column->addStretch(5);

    QFrame* coordsBox = makeBox(this, column, QMargins(2, 7, 2, 2));
    coordsBox->layout()->setContentsMargins(10, 10, 10, 10);
    labelCoords = new QLabel(tr("Coords: set mouse on graph area..."), this);
    labelCoords->setObjectName(QStringLiteral("labelCoords"));
    coordsBox->layout()->addWidget(labelCoords);

    if (grafik) {
        connect(grafik, &PulsarGrafik::coordsChanged, this, &PulsarGrafikInfo::setCoords);
    }
}

// The panel built before any run has nothing to act on, and nothing may start while a run is under way.
bool PulsarGrafikInfo::canRun() const {
    return calculate && grafik && !BusyGuard::busy();
}

// Runs the calculation again after a changed input and hands its curves to the plot.
void PulsarGrafikInfo::rerun() {
    {
        BusyGuard guard;
        calculate->calculate();
    }
    grafik->arrGrafiksRaw = calculate->rawGrafiks;
    grafik->arrGrafiks = calculate->arrGrafiks;
    grafik->visible = calculate->grafikVisible;
    if (holder) {
        holder->adoptCurves(calculate->rawGrafiks);
    }
    takePoints();
    refresh();
}

void PulsarGrafikInfo::copyMultiView() {
    grafik->arrGrafiks = calculate->arrGrafiks;
    grafik->markers = calculate->markers;
    grafik->visible = calculate->grafikVisible;
    grafik->points = holder ? OneFileRun::drawablePoints(calculate, calculate->count) : calculate->count;
    refresh();
}

void PulsarGrafikInfo::takePoints() {
    int wanted = spinPoints ? spinPoints->text().toInt() : 0;
    if (wanted > maxPoints) {
        wanted = maxPoints;
    }
    points = wanted;
    grafik->points = holder ? OneFileRun::drawablePoints(calculate, wanted) : wanted;
}

void PulsarGrafikInfo::refresh() {
    grafik->updateRange();
    if (labelInfo && calculate) {
        labelInfo->setText(calculate->infoText);
    }
}

void PulsarGrafikInfo::changeMaxSigma() {
    if (!canRun() || !spinMaxSigma) {
        return;
    }
    maxSigma = spinMaxSigma->value();
    calculate->maxSigma = maxSigma;
    rerun();
}

void PulsarGrafikInfo::changeDispersions() {
    if (!canRun() || !editDispersion1) {
        return;
    }
    dispersions.clear();
    for (QLineEdit* edit : {editDispersion1, editDispersion2, editDispersion3, editDispersion4}) {
        dispersions.append(edit->text().toDouble());
    }
    calculate->dispersions = dispersions;
    rerun();
}

void PulsarGrafikInfo::showMultiResult() {
    if (!canRun() || !editMultiDispersion) {
        return;
    }
    multiDispersion = editMultiDispersion->text().toFloat();
    if (!calculate->showMultiResult(multiDispersion)) {
        return;
    }
    copyMultiView();
}

void PulsarGrafikInfo::returnMultiGrafiks() {
    if (!canRun()) {
        return;
    }
    if (!calculate->returnMultiGrafiks()) {
        return;
    }
    copyMultiView();
}

void PulsarGrafikInfo::changePoints() {
    if (!canRun()) {
        return;
    }
    takePoints();
    refresh();
}

void PulsarGrafikInfo::resetPoints() {
    if (!canRun()) {
        return;
    }
    grafik->points = holder ? OneFileRun::drawablePoints(calculate, maxPoints) : maxPoints;
    refresh();
    if (spinPoints) {
        spinPoints->setValue(maxPoints);
    }
}

void PulsarGrafikInfo::setCoords(QPointF p, QVector<QString> arrX) {
    if (!labelCoords) {
        return;
    }
    const QString x = QString::number(p.x(), 'f', 0);
    const QString y = QString::number(p.y(), 'f', 3);
    if (action == QLatin1String("showNative")) {
        labelCoords->setText(
            QStringLiteral("X: %1   Y: %2\ntime: %3\n\n%4").arg(x, y, arrX.value(0), action));
    } else {
        labelCoords->setText(QStringLiteral("X: %1   Y: %2\n\n%3").arg(x, y, action));
    }
}
