#include "directory/views/fouriergrafik.h"

#include "core/plotframe.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

FourierGrafik::FourierGrafik(QWidget* parent) : QWidget(parent) {
    colorNames = {QStringLiteral("red"),     QStringLiteral("blue"),   QStringLiteral("green"),
                  QStringLiteral("black"),   QStringLiteral("yellow"), QStringLiteral("darkCyan"),
                  QStringLiteral("magenta"), QStringLiteral("darkRed")};
    setMouseTracking(true);
    qRegisterMetaType<QVector<QString>>("QVector<QString>");
}

FourierGrafik::~FourierGrafik() = default;

void FourierGrafik::showStartHint() {
    hintShown = true;
    hintText = QStringLiteral(
        "Установите нужные параметры в форме слева, укажите тип графика, и нажмите кнопку Ok...");
    if (!mainWindow) {
        return;
    }
    connect(mainWindow, SIGNAL(mainWindowSizeChanged()), this, SLOT(mainWindowSizeChanged()));
    QWidget* form = parentWidget();
    if (form && form->metaObject()->indexOfSignal("mainWindowSizeChanged()") >= 0) {
        connect(form, SIGNAL(mainWindowSizeChanged()), this, SLOT(mainWindowSizeChanged()));
    }
    repaint();
}

bool FourierGrafik::updateRange() {
    if (!arrGrafikX.isEmpty()) {
        const int n = arrGrafikX.size();
        // X[points - 1] is read below and by every painter: the count stays within the X values.
        if (points <= 0 || points > n) {
            points = n;
        }
        if (xLimit > 0 && xLimit < arrGrafikX[points - 1]) {
            for (int i = 0; i < n; ++i) {
                if (arrGrafikX[i] >= xLimit) {
                    points = i + 1;
                    break;
                }
            }
        }
    } else if (!arrGrafikY.isEmpty()) {
        int longest = 0;
        for (const QVector<double>& curve : arrGrafikY) {
            longest = std::max(longest, int(curve.size()));
        }
        if (points <= 0 || longest < points) {
            points = longest;
        }
    }

    bool counted = false;
    double hi = -100000;
    double lo = 100000;
    // Values that are not finite would make the range useless; they are left out.
    auto take = [&](double v) {
        if (std::isfinite(v)) {
            hi = std::max(hi, v);
            lo = std::min(lo, v);
            counted = true;
        }
    };
    if ((grafikMode == 0 || grafikMode == 4) && !arrGrafikY.isEmpty()) {
        for (int j = 0; j < arrGrafikY.size(); ++j) {
            if (!visible.value(j, false)) {
                continue;
            }
            const QVector<double>& curve = arrGrafikY[j];
            const int n = std::min(points, int(curve.size()));
            for (int k = 0; k < n; ++k) {
                take(curve[k]);
            }
        }
    } else if (grafikMode == 2 && !points3sigma.isEmpty()) {
        for (int j = 0; j < points3sigma.size(); ++j) {
            if (visible.value(j, false)) {
                for (const Point3sigma& p : points3sigma[j]) {
                    take(p.snr);
                }
            }
        }
    }
    if (!counted) {
        yMin = 0;
        yMax = 105;
    } else {
        yMax = hi;
        yMin = lo;
        double range = yMax - yMin;
        double top = yMax;
        if (0.001 * yMax > range) {
            yMin = 0.9 * yMin;
            top = 1.1 * yMax;
            range = top - yMin;
        }
        yMax = top + range / 20;
        if (yMin != 0) {
            yMin = yMin - (yMax - yMin) / 20;
        }
    }
    repaint();
    return true;
}

QPointF FourierGrafik::pixelToValue(QPointF point) const {
    const double W = canvasSize.width();
    const double H = canvasSize.height();
    const double px = point.x();
    const double yb = point.y();
    const double plotW = W - dx01 - dx02;
    const double plotH = H - dy01 - dy02;
    const int nX = arrGrafikX.size();
    const double xLast = nX > 0 ? arrGrafikX[std::clamp(points, 1, nX) - 1] : 0;
    double vx = -1;
    if (!(px < dx01 || px > W - dx02) && plotW > 0) {
        const double along = px - dx01;
        switch (grafikMode) {
        case 1:
        case 2:
            vx = xScale != 0 ? std::pow(10.0, along / xScale + xAxisMin) : -1;
            break;
        case 3:
            vx = nX == 0 ? along * points / plotW : xAxisMin + along * (xLast - xAxisMin) / plotW;
            break;
        case 4: {
            // Without X values the axis starts at 0 and counts points.
            const double first = nX > 0 ? arrGrafikX[0] : 0;
            const double last = nX > 0 ? xLast : points;
            vx = first + along * (last - first) / plotW;
            break;
        }
        default:
            vx = nX == 0 ? along * points / plotW : along * xLast / plotW;
            break;
        }
    }
    double vy = -1;
    if (!(yb < dy01 || yb > H - dy02) && plotH > 0) {
        if (grafikMode == 1 || grafikMode == 3) {
            vy = yScale > 0 ? std::pow(10.0, (yb - dy01) / yScale + yAxisMin) : 0;
        } else {
            vy = yMin + (yb - dy01) * (yMax - yMin) / plotH;
        }
    }
    return QPointF(vx, vy);
}

void FourierGrafik::paintEvent(QPaintEvent* event) {
    event->accept();
    if (!PlotFrame::paintable(size())) {
        return;
    }
    canvasSize = size();
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.setPen(Qt::black);
    painter.drawRect(QRect(QPoint(0, 0), QPoint(width() - 2, height() - 2)));
    switch (grafikMode) {
    case 1:
        drawMapLog(&painter);
        break;
    case 2:
        drawSum3sigma(&painter);
        break;
    case 3:
        drawMapLinear(&painter);
        break;
    case 4:
        drawGrafikFromFirstX(&painter);
        break;
    default:
        drawGrafik(&painter);
        break;
    }
    if (forPrint) {
        drawTitles(&painter);
        drawNotes(&painter);
    } else if (grafikMode == 0) {
        drawTitles(&painter);
    }
}

void FourierGrafik::drawHint(QPainter* painter, bool keepFont) {
    painter->setPen(Qt::black);
    if (!keepFont) {
        painter->setFont(QFont(QStringLiteral("Arial"), 11));
    }
    drawLabel(painter, QPoint(30, 60), hintText);
}

void FourierGrafik::drawTitles(QPainter* painter) {
    const int W = canvasSize.width();
    const int H = canvasSize.height();
    painter->setFont(QFont(QStringLiteral("Arial"), W >= 400 ? 12 : 10));
    painter->setPen(Qt::black);
    const QFontMetrics own(font());
    if (!title.isEmpty()) {
        const int tw = own.boundingRect(title).width();
        drawLabel(painter, QPoint(W / 2 - tw / 2 - 14, 26), title);
    }
    if (!captionY.isEmpty()) {
        const int tw = own.boundingRect(captionY).width();
        PlotFrame::drawVerticalText(painter, QPoint(W - 28, H - (H / 2 + (tw + 1) / 2 + 10)), captionY, 12,
                                    PlotFrame::Measure::Painter);
    }
    if (!pulsarName.isEmpty()) {
        const int tw = own.boundingRect(pulsarName).width();
        drawBoxedLabel(painter, QPoint(W - tw - 72, 26), pulsarName);
    }
    painter->setFont(QFont(QStringLiteral("Arial"), 10));
}

void FourierGrafik::drawLabel(QPainter* painter, QPoint at, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    painter->setPen(Qt::black);
    PlotFrame::drawLabel(painter, at, text, Qt::white);
}

void FourierGrafik::drawBoxedLabel(QPainter* painter, QPoint at, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    painter->setPen(Qt::black);
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    const int w = painter->fontMetrics().horizontalAdvance(text);
    // The label's white box lies inside the white frame, so the frame may come first.
    painter->drawRect(QRect(QPoint(at.x() - 3, at.y() - 16), QPoint(at.x() + w + 2, at.y() + 3)));
    PlotFrame::drawLabel(painter, at, text, Qt::white);
}

QString FourierGrafik::fixed(double v, int decimals) {
    return QString::number(v, 'f', std::clamp(decimals, 0, 15));
}

QPoint FourierGrafik::flipY(QPoint p) const {
    return QPoint(p.x(), canvasSize.height() - p.y());
}

QPointF FourierGrafik::flipY(QPointF p) const {
    return QPointF(p.x(), canvasSize.height() - p.y());
}

int FourierGrafik::flipY(int y) const {
    return canvasSize.height() - y;
}

double FourierGrafik::flipY(double y) const {
    return canvasSize.height() - y;
}

QString FourierGrafik::timeLabel(int index) const {
    const double ms = double(index) * data.tresolution;
    return data.startDateTime.addMSecs(std::isfinite(ms) ? qint64(ms) : 0)
        .toString(QStringLiteral("hh:mm:ss"));
}
