#ifndef FINDCHILD_H
#define FINDCHILD_H

#include <QObject>
#include <QString>
#include <QtGlobal>

// The child `name` of `parent`; a missing one stops the test program at once, so that a renamed widget
// never passes as a null pointer into later checks.
template <typename T> T* findChildOrStop(const QObject* parent, const QString& name) {
    T* w = parent ? parent->findChild<T*>(name) : nullptr;
    if (!w) {
        qFatal("no child %s", qPrintable(name));
    }
    return w;
}

#endif // FINDCHILD_H
