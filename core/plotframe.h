#ifndef PLOTFRAME_H
#define PLOTFRAME_H

#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The painting every plot of one file shares: when to paint, the white background, the black frame
// with its ticks, the label boxes, the mapping of point index and value to pixels with margins 40/30
// across and 20/20 down, the axis labels, and the drawing of long series. Geometry comes out as data
// (ticks, lines, labels) so it can be checked without a screen; the draw functions only paint it.
class PlotFrame {
public:
    PlotFrame() = delete;

    // A tick: its position (x from the left edge for the x axis, distance from the bottom edge for the
    // y axis) and its length in pixels.
    struct Tick {
        int pos;
        int length;
        bool operator==(const Tick& o) const { return pos == o.pos && length == o.length; }
    };
    struct Label {
        QPoint at; // baseline start of the text
        QString text;
    };

    // A widget of at most 100 x 100 pixels is not painted at all.
    static bool paintable(const QSize& size);
    // White over the whole widget.
    static void paintBackground(QPainter* painter, const QSize& size);

    static QVector<QLine> edgeLines(const QSize& size);
    static QVector<Tick> xTicks(int width);
    static QVector<Tick> yTicks(int height);
    // Edges and the ticks pointing in from all four of them.
    static QVector<QLine> frameLines(const QSize& size);
    // In black: the four edges only, or edges with ticks.
    static void drawEdges(QPainter* painter, const QSize& size);
    static void drawFrame(QPainter* painter, const QSize& size);

    // Text on a box of `fill` (half-transparent white unless given), baseline starting at `at`, in the
    // current pen; an empty text draws nothing.
    static void drawLabel(QPainter* painter, const QPoint& at, const QString& text,
                          const QColor& fill = QColor(255, 255, 255, 200));
    static void drawLabels(QPainter* painter, const QVector<Label>& labels);

    // How vertical text is measured: by the painter's device, or by the font on the screen.
    enum class Measure { Painter, Screen };
    // Text turned a quarter clockwise, black in Arial of `fontSize`, its box's top left at `at`; the
    // painter keeps that font. An empty text draws nothing.
    static void drawVerticalText(QPainter* painter, const QPoint& at, const QString& text, int fontSize,
                                 Measure measure);

    // A pixel coordinate: toward zero, NaN and anything beyond +-2^24 clamped, so it is never wild. A
    // float converts exactly, so float mappings land on the same pixels.
    static int clampToPixel(double v) {
        constexpr double limit = double(1 << 24);
        if (!(v > -limit)) {
            return -(1 << 24);
        }
        if (!(v < limit)) {
            return 1 << 24;
        }
        return int(v);
    }

    // Point index i -> x = 40 + trunc(i * (w - 70) / n); value v -> y = h - (trunc((v - min) * (h - 40) /
    // (max - min)) + 20), computed in T (float for native samples, double for arrays). A flat or broken
    // range is widened here, for the mapping and its labels only, so nothing divides by zero; values
    // that are not finite have no pixel, and pixels are clamped far outside the widget, never wild.
    template <typename T> class Mapping {
    public:
        Mapping(const QSize& size, qint64 n, T min, T max) : w(size.width()), h(size.height()), n(n) {
            dx = n > 0 ? T(w - 70) / T(n) : T(0);
            lo = min;
            hi = max;
            if (!std::isfinite(lo) || !std::isfinite(hi)) {
                lo = T(0);
                hi = T(1);
            } else if (hi < lo) {
                std::swap(lo, hi);
            }
            if (!(hi > lo)) {
                const T half = std::max(T(1), std::abs(lo) / T(100));
                lo -= half;
                hi += half;
            }
        }

        int x(qint64 i) const { return 40 + clampToPixel(T(i) * dx); }

        // False for a value that is not finite (no point there).
        bool y(T v, int& out) const {
            if (!std::isfinite(v)) {
                return false;
            }
            T t = (v - lo) * T(h - 40) / (hi - lo);
            if (!std::isfinite(t)) { // overflow in single precision
                t = T((double(v) - double(lo)) * double(h - 40) / (double(hi) - double(lo)));
            }
            out = h - (clampToPixel(t) + 20);
            return true;
        }

        QSize size() const { return QSize(w, h); }
        qint64 points() const { return n; }
        T step() const { return dx; }
        T rangeMin() const { return lo; }
        T rangeMax() const { return hi; }

    private:
        int w;
        int h;
        qint64 n;
        T dx;
        T lo;
        T hi;
    };

    // x labels every 250 pixels (the point index 20 pixels right of the tick), and y labels every 250
    // pixels from the bottom when the plot is high enough (the value there with two decimals).
    template <typename T> static QVector<Label> axisLabels(const Mapping<T>& m) {
        QVector<Label> labels;
        const int w = m.size().width();
        const int h = m.size().height();
        if (m.points() > 0 && m.step() != T(0)) {
            for (int off = 250; off < w; off += 250) {
                const T index = std::round(T(off - 20) / m.step());
                labels.append({QPoint(off - 4, h - 15), QString::number(double(index), 'g', 6)});
            }
        }
        if (h - 50 > 250) {
            const T perPixel = (m.rangeMax() - m.rangeMin()) / T(h - 40);
            for (int off = 250; off < h - 50; off += 250) {
                const T value = std::round((T(off - 20) * perPixel + m.rangeMin()) * T(100)) / T(100);
                labels.append({QPoint(14, h - off + 4), QString::number(double(value), 'g', 6)});
            }
        }
        return labels;
    }

    // The polyline through values[0 .. count-1] in the current pen. Where several points fall into one
    // pixel column it draws that column's span and the joins to its neighbours, which covers exactly
    // the pixels of drawing every segment, so the cost follows the plot's width, not the point count.
    // A point that is not finite breaks the line.
    template <typename T, typename Map>
    static void drawSeries(QPainter* painter, const Map& map, const T* values, qint64 count) {
        LineBatch lines(painter);
        // A thin, opaque, solid line of whole pixels covers exactly a one-pixel-wide rectangle, which
        // the raster engine fills far faster than it walks a line; neighbouring spans share rectangles.
        const QPen pen = painter->pen();
        const bool fillSpans = pen.style() == Qt::SolidLine && pen.widthF() <= 1 &&
                               pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255 &&
                               !painter->testRenderHint(QPainter::Antialiasing) &&
                               painter->transform().type() <= QTransform::TxTranslate;
        SpanFill spans(painter, pen.color());
        bool have = false;
        int cx = 0, lastY = 0, lowY = 0, highY = 0;
        qint64 inColumn = 0;
        auto closeColumn = [&]() {
            if (have && inColumn > 1) {
                if (fillSpans) {
                    spans.add(cx, lowY, highY);
                } else {
                    lines.add(QLine(cx, lowY, cx, highY));
                }
            }
        };
        auto point = [&](int x, int y) {
            if (have && x == cx) {
                lowY = std::min(lowY, y);
                highY = std::max(highY, y);
                lastY = y;
                ++inColumn;
                return;
            }
            if (have) {
                closeColumn();
                lines.add(QLine(cx, lastY, x, y));
            }
            have = true;
            cx = x;
            lastY = lowY = highY = y;
            inColumn = 1;
        };
        qint64 i = 0;
        while (i < count) {
            const int x = map.x(i);
            const qint64 end = columnEnd(map, i, x, count);
            // The mapping is monotonic in the value, so a column of finite points needs only its first,
            // last, smallest and largest value; a column with a gap goes point by point.
            T lo, hi;
            if (end - i > 2 && finiteSpan(values + i, end - i, lo, hi)) {
                int yFirst = 0, yLast = 0, yLo = 0, yHi = 0;
                map.y(values[i], yFirst);
                map.y(values[end - 1], yLast);
                map.y(lo, yLo);
                map.y(hi, yHi);
                point(x, yFirst);
                lowY = std::min(lowY, std::min(yLo, yHi));
                highY = std::max(highY, std::max(yLo, yHi));
                lastY = yLast;
                inColumn += end - i - 1;
                i = end;
                continue;
            }
            for (; i < end; ++i) {
                int y;
                if (map.y(values[i], y)) {
                    point(x, y);
                } else {
                    closeColumn();
                    have = false;
                }
            }
        }
        closeColumn();
    }

    // The same polyline drawn segment by segment: the reference picture for drawSeries.
    template <typename T, typename Map>
    static void drawSeriesSegments(QPainter* painter, const Map& map, const T* values, qint64 count) {
        LineBatch lines(painter);
        int px = 0, py = 0;
        bool have = false;
        for (qint64 i = 0; i < count; ++i) {
            int y;
            if (!map.y(values[i], y)) {
                have = false;
                continue;
            }
            const int x = map.x(i);
            if (have) {
                lines.add(QLine(px, py, x, y));
            }
            px = x;
            py = y;
            have = true;
        }
    }

private:
    // First index after `from` whose x differs from x (the mapping's x is monotonic in the index, in
    // either direction), found by galloping so a column costs a few evaluations, not one per point.
    template <typename Map> static qint64 columnEnd(const Map& map, qint64 from, int x, qint64 count) {
        qint64 inside = from;
        qint64 step = 1;
        while (count - inside > step && map.x(inside + step) == x) {
            inside += step;
            step *= 2;
        }
        qint64 outside = std::min(inside + step, count);
        while (outside - inside > 1) {
            const qint64 mid = inside + (outside - inside) / 2;
            if (map.x(mid) == x) {
                inside = mid;
            } else {
                outside = mid;
            }
        }
        return outside;
    }

    // Smallest and largest of n values; false when any is not finite.
    template <typename T> static bool finiteSpan(const T* values, qint64 n, T& lo, T& hi) {
        T a = values[0];
        T b = values[0];
        T zero = T(0); // stays 0 unless some value is NaN or infinite
        qint64 k = 0;
#ifdef __SSE2__
        if constexpr (std::is_same<T, float>::value) {
            if (n >= 8) {
                // minps/maxps pick exactly as the comparisons below do; NaN is caught by `zero`.
                __m128 va = _mm_set1_ps(a), vb = va, vz = _mm_setzero_ps();
                for (; k + 4 <= n; k += 4) {
                    const __m128 v = _mm_loadu_ps(values + k);
                    va = _mm_min_ps(v, va);
                    vb = _mm_max_ps(v, vb);
                    vz = _mm_add_ps(vz, _mm_sub_ps(v, v));
                }
                alignas(16) float la[4], lb[4], lz[4];
                _mm_store_ps(la, va);
                _mm_store_ps(lb, vb);
                _mm_store_ps(lz, vz);
                for (int j = 0; j < 4; ++j) {
                    a = la[j] < a ? la[j] : a;
                    b = lb[j] > b ? lb[j] : b;
                    zero = zero + lz[j];
                }
            }
        }
#endif
        for (; k < n; ++k) {
            const T v = values[k];
            a = v < a ? v : a;
            b = v > b ? v : b;
            zero = zero + (v - v);
        }
        lo = a;
        hi = b;
        return zero == T(0);
    }

    // Vertical spans of consecutive columns, filled as one rectangle over the rows they all share and
    // one-pixel-wide rectangles for what sticks out above and below it.
    class SpanFill {
    public:
        SpanFill(QPainter* painter, const QColor& colour) : painter(painter), colour(colour) {
            run.reserve(capacity);
        }
        ~SpanFill() { flush(); }
        SpanFill(const SpanFill&) = delete;
        SpanFill& operator=(const SpanFill&) = delete;
        // Column x from row lo to row hi (lo <= hi).
        void add(int x, int lo, int hi) {
            if (!run.isEmpty()) {
                const int shareLo = std::max(top, lo);
                const int shareHi = std::min(bottom, hi);
                // Joined while the shared rows stay at least half of the new span.
                if (x == run.last().x + 1 && run.size() < capacity &&
                    2 * (shareHi - shareLo + 1) >= hi - lo + 1) {
                    top = shareLo;
                    bottom = shareHi;
                    run.append({x, lo, hi});
                    return;
                }
                flush();
            }
            top = lo;
            bottom = hi;
            run.append({x, lo, hi});
        }
        void flush() {
            if (run.isEmpty()) {
                return;
            }
            painter->fillRect(QRect(QPoint(run.first().x, top), QPoint(run.last().x, bottom)), colour);
            for (const Span& s : run) {
                if (s.lo < top) {
                    painter->fillRect(QRect(s.x, s.lo, 1, top - s.lo), colour);
                }
                if (s.hi > bottom) {
                    painter->fillRect(QRect(s.x, bottom + 1, 1, s.hi - bottom), colour);
                }
            }
            run.resize(0);
        }

    private:
        struct Span {
            int x;
            int lo;
            int hi;
        };
        static constexpr int capacity = 4096;
        QPainter* painter;
        QColor colour;
        QVector<Span> run;
        int top = 0;
        int bottom = 0;
    };

    // Lines handed to the painter in blocks: one call per few thousand lines, no allocation per line.
    class LineBatch {
    public:
        explicit LineBatch(QPainter* painter) : painter(painter) { lines.reserve(capacity); }
        ~LineBatch() { flush(); }
        LineBatch(const LineBatch&) = delete;
        LineBatch& operator=(const LineBatch&) = delete;
        void add(const QLine& line) {
            lines.append(line);
            if (lines.size() == capacity) {
                flush();
            }
        }
        void flush() {
            if (!lines.isEmpty()) {
                painter->drawLines(lines);
                lines.resize(0);
            }
        }

    private:
        static constexpr int capacity = 4096;
        QPainter* painter;
        QVector<QLine> lines;
    };
};

#endif // PLOTFRAME_H
