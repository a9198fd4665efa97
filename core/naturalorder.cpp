#include "core/naturalorder.h"

#include <QFileInfo>

#include <algorithm>

namespace {
bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

// Whole numbers of any length: leading zeros skipped, then the longer is the larger.
int compareWhole(const QChar* a, int na, const QChar* b, int nb) {
    while (na > 0 && a->unicode() == '0') {
        ++a;
        --na;
    }
    while (nb > 0 && b->unicode() == '0') {
        ++b;
        --nb;
    }
    if (na != nb) {
        return na < nb ? -1 : 1;
    }
    for (int i = 0; i < na; ++i) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
    }
    return 0;
}

// Digits after a decimal point: the shorter is padded with zeros.
int compareFraction(const QChar* a, int na, const QChar* b, int nb) {
    const int n = std::max(na, nb);
    for (int i = 0; i < n; ++i) {
        const ushort da = i < na ? a[i].unicode() : ushort('0');
        const ushort db = i < nb ? b[i].unicode() : ushort('0');
        if (da != db) {
            return da < db ? -1 : 1;
        }
    }
    return 0;
}
} // namespace

int NaturalOrder::compare(const QString& a, const QString& b) {
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    const int na = a.size();
    const int nb = b.size();
    int i = 0;
    int j = 0;
    while (i < na && j < nb) {
        if (isDigit(pa[i]) && isDigit(pb[j])) {
            int ei = i;
            while (ei < na && isDigit(pa[ei])) {
                ++ei;
            }
            int ej = j;
            while (ej < nb && isDigit(pb[ej])) {
                ++ej;
            }
            // Everything before compared equal piece by piece, so both runs stand in the same place.
            const bool fraction = i >= 2 && pa[i - 1] == QLatin1Char('.') && isDigit(pa[i - 2]);
            const int r = fraction ? compareFraction(pa + i, ei - i, pb + j, ej - j)
                                   : compareWhole(pa + i, ei - i, pb + j, ej - j);
            if (r != 0) {
                return r;
            }
            i = ei;
            j = ej;
            continue;
        }
        // A digit against another character: the digits form one block of code units, so whichever
        // digit it is gives the same answer.
        if (pa[i] != pb[j]) {
            return pa[i] < pb[j] ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < na || j < nb) {
        return i < na ? 1 : -1;
    }
    return sign(QString::compare(a, b));
}

bool NaturalOrder::less(const QString& a, const QString& b) {
    return compare(a, b) < 0;
}

void NaturalOrder::sort(QStringList& list) {
    std::sort(list.begin(), list.end(), less);
}

void NaturalOrder::sortByFileName(QFileInfoList& list) {
    std::sort(list.begin(), list.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return less(a.fileName(), b.fileName()); });
}
