#include "core/screenfit.h"

#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// The window manager's frame around the window.
QSize frameOf(const QWidget* window) {
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame.isNull()) {
        // Not shown yet, so the frame is unknown: room is left for a title bar.
        const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        frame = QSize(2 * border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
    }
    return frame;
}

void resizeAndMoveIn(QWidget* window, const QSize& size, const QRect& area, const QSize& frame) {
    if (size != window->size()) {
        window->resize(size);
    }
    const QRect outer(window->frameGeometry().topLeft(), window->size() + frame);
    const int x = qBound(area.left(), outer.left(), qMax(area.left(), area.right() + 1 - outer.width()));
    const int y = qBound(area.top(), outer.top(), qMax(area.top(), area.bottom() + 1 - outer.height()));
    if (x != outer.left() || y != outer.top()) {
        window->move(x, y);
    }
}

} // namespace

void ScreenFit::fit(QWidget* window, const QSize& wanted) {
    const QScreen* display = window ? window->screen() : nullptr;
    if (!display) {
        return;
    }
    const QRect area = display->availableGeometry();
    const QSize frame = frameOf(window);
    resizeAndMoveIn(window, wanted.boundedTo(area.size() - frame), area, frame);
}

void ScreenFit::growToHint(QWidget* window) {
    const QScreen* display = window ? window->screen() : nullptr;
    if (!display || !window->isVisible() ||
        (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
        return;
    }
    const QRect area = display->availableGeometry();
    const QSize frame = frameOf(window);
    // Bounded first, so that a window the user made larger than the screen is not shrunk either.
    const QSize size = window->sizeHint().boundedTo(area.size() - frame).expandedTo(window->size());
    if (size != window->size()) {
        resizeAndMoveIn(window, size, area, frame);
    }
}
