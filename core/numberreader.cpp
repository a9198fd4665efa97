#include "core/numberreader.h"

#include <QDebug>
#include <QTextCodec>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

// Lower-case ASCII letters of [p, end) equal `word`.
bool equalsWord(const char* p, const char* end, const char* word) {
    const size_t n = std::strlen(word);
    if (size_t(end - p) != n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if ((p[i] | 0x20) != word[i]) {
            return false;
        }
    }
    return true;
}

template <typename T> T fail(bool* ok) {
    if (ok) {
        *ok = false;
    }
    return 0;
}

template <typename T> T success(T v, bool* ok) {
    if (ok) {
        *ok = true;
    }
    return v;
}

// Pieces the fast paths do not settle (other scripts' spaces, overflow, underflow) go to the toolkit.
double slowDouble(const char* begin, const char* end, bool* ok) {
    return NumberReader::text(begin, end).toDouble(ok);
}

} // namespace

double NumberReader::toDouble(const char* begin, const char* end, bool* ok) {
    const char* p = begin;
    const char* e = end;
    trim(p, e);
    if (p == e) {
        return hasNonAscii(begin, end) ? slowDouble(begin, end, ok) : fail<double>(ok);
    }
    // A '+' is the toolkit's, not from_chars'; a sign must be followed by a digit, a point or "inf".
    const char* q = p;
    if (*q == '+' || *q == '-') {
        ++q;
    }
    if (q < e && (isDigit(*q) || *q == '.')) {
        double v = 0;
        const auto r = std::from_chars(*p == '+' ? q : p, e, v, std::chars_format::general);
        if (r.ec == std::errc() && r.ptr == e) {
            return success(v, ok);
        }
        if (r.ec == std::errc::result_out_of_range) {
            return slowDouble(begin, end, ok); // overflow gives ±infinity, underflow 0, as the toolkit does
        }
    } else if (equalsWord(q, e, "inf")) {
        const double inf = std::numeric_limits<double>::infinity();
        return success(*p == '-' ? -inf : inf, ok);
    } else if (q == p && equalsWord(q, e, "nan")) {
        return success(std::numeric_limits<double>::quiet_NaN(), ok);
    }
    return hasNonAscii(begin, end) ? slowDouble(begin, end, ok) : fail<double>(ok);
}

float NumberReader::toFloat(const char* begin, const char* end, bool* ok) {
    bool read = false;
    const double d = toDouble(begin, end, &read);
    if (ok) {
        *ok = read;
    }
    // Through a double, as the toolkit converts: beyond the float range is ±infinity, a value that
    // vanishes in a float is 0, both not ok.
    if (std::isinf(d) || std::isnan(d)) {
        return float(d);
    }
    if (std::fabs(d) > double(std::numeric_limits<float>::max())) {
        if (ok) {
            *ok = false;
        }
        return d < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    }
    const float f = float(d);
    if (d != 0 && f == 0) {
        return fail<float>(ok);
    }
    return f;
}

int NumberReader::toInt(const char* begin, const char* end, bool* ok) {
    const char* p = begin;
    const char* e = end;
    trim(p, e);
    const bool negative = p < e && *p == '-';
    if (p < e && (*p == '+' || *p == '-')) {
        ++p;
    }
    if (p == e) {
        return hasNonAscii(begin, end) ? NumberReader::text(begin, end).toInt(ok) : fail<int>(ok);
    }
    quint64 v = 0;
    constexpr quint64 limit = quint64(std::numeric_limits<int>::max()) + 1;
    for (const char* d = p; d < e; ++d) {
        if (!isDigit(*d)) {
            return hasNonAscii(begin, end) ? NumberReader::text(begin, end).toInt(ok) : fail<int>(ok);
        }
        v = v * 10 + quint64(*d - '0');
        if (v > limit) {
            return fail<int>(ok); // every further digit keeps it out of range
        }
    }
    if (v == limit) {
        return negative ? success(std::numeric_limits<int>::min(), ok) : fail<int>(ok);
    }
    return success(negative ? -int(v) : int(v), ok);
}

void NumberReader::reportNonFinite(qint64 nonFinite, const QString& where) {
    if (nonFinite > 0) {
        qDebug().noquote() << "Error! " << nonFinite << " values that are not finite numbers read as 0 in "
                           << where;
    }
}

bool NumberReader::nextLine(const char*& at, const char* end, const char*& lineBegin, const char*& lineEnd) {
    if (at >= end) {
        return false;
    }
    lineBegin = at;
    const void* feed = std::memchr(at, '\n', size_t(end - at));
    lineEnd = feed ? static_cast<const char*>(feed) : end;
    at = feed ? lineEnd + 1 : end;
    if (lineEnd > lineBegin && lineEnd[-1] == '\r') {
        --lineEnd;
    }
    return true;
}

int NumberReader::tabFields(const char* begin, const char* end, QByteArray& clean, bool dropStarAfterTab,
                            const char** field, const char** fieldEnd, int most) {
    if (clean.size() < end - begin) {
        clean.resize(int(end - begin));
    }
    char* out = clean.data();
    bool afterTab = false;
    for (const char* p = begin; p < end; ++p) {
        const char c = *p;
        if (c == ' ' || c == '\r' || c == '\n') {
            continue;
        }
        if (c == '*' && afterTab && dropStarAfterTab) {
            afterTab = false;
            continue;
        }
        afterTab = c == '\t';
        *out++ = c;
    }
    const char* p = clean.constData();
    const char* const last = out;
    int n = 0;
    while (n < most) {
        while (p < last && *p == '\t') {
            ++p;
        }
        if (p == last) {
            break;
        }
        field[n] = p;
        while (p < last && *p != '\t') {
            ++p;
        }
        fieldEnd[n++] = p;
    }
    return n;
}

QString NumberReader::text(const char* begin, const char* end) {
    const int n = int(end - begin);
    // fromUtf8 would drop a byte-order mark at the start of the piece.
    if (n < 3 || std::memcmp(begin, "\xEF\xBB\xBF", 3) != 0) {
        return QString::fromUtf8(begin, n);
    }
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QTextCodec::codecForMib(106)->toUnicode(begin, n, &state);
}
