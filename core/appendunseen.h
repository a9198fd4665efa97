#ifndef APPENDUNSEEN_H
#define APPENDUNSEEN_H

#include <QSet>
#include <QVector>

// Keeps a list in first-seen order without repeats: the value is appended unless `seen` holds it, and
// `seen` mirrors the list so that the test costs no walk over it. Both belong to the caller.
template <typename T> void appendUnseen(QVector<T>& list, QSet<T>& seen, const T& value) {
    if (seen.contains(value)) {
        return;
    }
    seen.insert(value);
    list.append(value);
}

#endif // APPENDUNSEEN_H
