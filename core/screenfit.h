#ifndef SCREENFIT_H
#define SCREENFIT_H

#include <QSize>

class QWidget;

// Keeps a top-level window on its screen. fit() resizes the window to `wanted`, no larger than the
// screen's available area less the window manager's frame, and moves it so that it lies inside that
// area. The window stays the caller's; a window without a screen is left as it is.
namespace ScreenFit {
void fit(QWidget* window, const QSize& wanted);
// Grows a shown, not maximised window towards its size hint, so that a newly installed form gets the
// room its plots ask for; never shrinks it.
void growToHint(QWidget* window);
// The size every plot widget asks for: room enough to read its axes.
inline QSize plotHint() {
    return QSize(640, 480);
}
} // namespace ScreenFit

#endif // SCREENFIT_H
