#include "single/nativegrafik.h"

#include "core/cachedreader.h"
#include "core/desktop.h"
#include "core/plotframe.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "single/nativeright.h"

#include <QDebug>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <limits>

NativeGrafik::NativeGrafik(QString fileName, int withoutStep, QWidget* parent) : QWidget(parent) {
    hide();
    setObjectName(QStringLiteral("nativeGrafik"));
    WorkArea::clear();
    progressBar = Settings::getInstance()->getProgressBar();
    data = readData(fileName);

    Desktop* desktop = Desktop::instance();
    // The reader gives -1 points for a file without modules; a record without samples or counts has
    // nothing to show either.
    if (data.npoints <= 0 || !data.samples || data.modules < 1 || data.channels < 1 || data.rays < 1) {
        desktop->warning(this, QStringLiteral("Error"), QStringLiteral("Bad file!\nFile without data"));
        return;
    }

    const QString report = Tools::removeStep(data, withoutStep != 0);
    if (!report.isEmpty()) {
        desktop->warning(this, QStringLiteral("Message"), report);
    }

    module = 0;
    channel = data.channels - 1;
    rayEnabled = QVector<bool>(data.rays, true);
    setMaxMin(module, channel);
    colours = {QStringLiteral("red"),     QStringLiteral("green"),  QStringLiteral("blue"),
               QStringLiteral("black"),   QStringLiteral("yellow"), QStringLiteral("darkCyan"),
               QStringLiteral("magenta"), QStringLiteral("darkRed")};
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);

    auto* panel = new NativeRight(&data, this);
    WorkArea::install({this, panel});
    valid = true;
}

Data NativeGrafik::readData(const QString& fileName) {
    Data read;
    return CachedReader::readData(fileName, progressBar, read);
}

void NativeGrafik::setMaxMin(int module, int channel) {
    if (module < 0 || module >= data.modules) {
        qDebug() << "setMaxMin error: bad module=" << module;
        return;
    }
    if (channel < 0 || channel >= data.channels) {
        qDebug() << "setMaxMin error: bad channel=" << channel;
        return;
    }
    if (!data.samples || data.npoints < 1 || data.rays < 1) {
        return;
    }
    max = 0;
    // Infinite samples have no place on the axis and would squash every other value into one line.
    const float first = data.samples[0][0][0][0];
    const bool firstFinite = std::isfinite(first);
    min = firstFinite ? first : std::numeric_limits<float>::max();
    for (int r = 0; r < data.rays; ++r) {
        const float* s = data.samples[module][channel][r];
        for (int p = 0; p < data.npoints; ++p) {
            const float v = s[p];
            if (!std::isfinite(v)) {
                continue;
            }
            if (v > max) {
                max = v;
            }
            if (v < min) {
                min = v;
            }
        }
    }
    if (!firstFinite && min == std::numeric_limits<float>::max()) {
        min = 0;
    }
}

void NativeGrafik::redraw() {
    setMaxMin(module, channel);
    repaint();
}

void NativeGrafik::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (!PlotFrame::paintable(size())) {
        return;
    }
    QPainter painter(this);
    PlotFrame::paintBackground(&painter, size());
    drawFrame(&painter);
    drawGraphs(&painter);
}

void NativeGrafik::drawFrame(QPainter* painter) {
    PlotFrame::drawFrame(painter, size());
}

void NativeGrafik::drawLabel(QPainter* painter, QPoint at, const QString& text) {
    PlotFrame::drawLabel(painter, at, text);
}

void NativeGrafik::drawGraphs(QPainter* painter) {
    if (data.npoints < 1) {
        qDebug() << "data error!!! data.npoints=" << data.npoints << "max=" << max << "min=" << min;
        return;
    }
    // Indices the panel or a caller set outside the record (setMaxMin refused them): nothing to draw.
    if (!data.samples || module < 0 || module >= data.modules || channel < 0 || channel >= data.channels) {
        return;
    }
    const PlotFrame::Mapping<float> map(size(), data.npoints, min, max);
    const int rays = std::min(data.rays, rayEnabled.size());
    for (int r = 0; r < rays; ++r) {
        if (!rayEnabled[r]) {
            continue;
        }
        painter->setPen(QPen(QColor(colours.isEmpty() ? QStringLiteral("black")
                                                      : colours[Tools::wrapIndex(r, colours.size())]),
                             1, Qt::SolidLine));
        // The last point is not joined to the curve.
        PlotFrame::drawSeries(painter, map, data.samples[module][channel][r], qint64(data.npoints) - 1);
    }
    painter->setPen(Qt::black);
    for (const auto& label : PlotFrame::axisLabels(map)) {
        drawLabel(painter, label.at, label.text);
    }
}
