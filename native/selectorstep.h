#ifndef SELECTORSTEP_H
#define SELECTORSTEP_H

#include "core/tools.h"

#include <QComboBox>

// One arrow step of a date or DM selector of the native forms, by Tools::stepIndex over `size` entries.
// The boxes are editable: a forward step that stops at the last entry leaves the box alone, since
// setting the same index again would replace the typed text and announce it. The box stays the caller's.
inline void stepSelector(QComboBox* box, int size, bool forward, bool wrapForward) {
    const int i = box->currentIndex();
    const int next = Tools::stepIndex(i, size, forward, wrapForward);
    if (forward && !wrapForward && next == i) {
        return;
    }
    box->setCurrentIndex(next);
}

#endif // SELECTORSTEP_H
