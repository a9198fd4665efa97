#ifndef NUMBERREADER_H
#define NUMBERREADER_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <system_error>

// Numbers of the text files, read straight from their bytes: the one reader behind every text format.
// A piece [begin, end) reads exactly as the toolkit's QString::toDouble, toFloat and toInt read its
// UTF-8 text (C locale: white space around it ignored, a leading '+' or '-', decimal point, exponent,
// "nan" and "inf" in any case, no group separators; a piece that is not one number gives 0 and ok false,
// an overflowing one ±infinity and ok false), without a QString per number: plain ASCII numbers go
// through std::from_chars, anything unusual through the toolkit itself. Nothing is kept between calls,
// so every function may run on any thread at once.
class NumberReader {
public:
    NumberReader() = delete;

    static double toDouble(const char* begin, const char* end, bool* ok = nullptr);
    static float toFloat(const char* begin, const char* end, bool* ok = nullptr);
    static int toInt(const char* begin, const char* end, bool* ok = nullptr);

    // The rule for values of result, profile, statistics, search-result, map and 3-sigma files: NaN and
    // ±infinity (an overflowing text reads as one) count 0, and `nonFinite` counts them.
    static double finiteOr0(double v, qint64& nonFinite) {
        if (v - v == 0) { // false for NaN and both infinities, without a branch on the class
            return v;
        }
        ++nonFinite;
        return 0;
    }
    // One debug line for the file or block `where` when `nonFinite` values of it counted 0.
    static void reportNonFinite(qint64 nonFinite, const QString& where);

    // The line at `at` into [lineBegin, lineEnd), without its line feed and a carriage return before it
    // (or before the end), as a text stream gives it; `at` moves past it. False at `end`: a text ending
    // in a line feed has no empty last line.
    static bool nextLine(const char*& at, const char* end, const char*& lineBegin, const char*& lineEnd);

    // [begin, end) begins with the bytes of `word`.
    static bool startsWith(const char* begin, const char* end, const char* word) {
        const size_t n = std::strlen(word);
        return size_t(end - begin) >= n && std::memcmp(begin, word, n) == 0;
    }

    // Calls piece(pieceBegin, pieceEnd) for every piece of [begin, end) between single `separator`s,
    // in order, empty pieces kept: n separators make n + 1 pieces.
    static int countPieces(const char* begin, const char* end, char separator) {
        return int(std::count(begin, end, separator)) + 1;
    }
    template <typename Piece>
    static void forEachPiece(const char* begin, const char* end, char separator, Piece piece) {
        for (;;) {
            const char* at = static_cast<const char*>(std::memchr(begin, separator, size_t(end - begin)));
            piece(begin, at ? at : end);
            if (!at) {
                return;
            }
            begin = at + 1;
        }
    }

    // Calls number(value) for every piece of [begin, end) between single blanks, in order, empty pieces
    // kept, each read as toDouble reads it. A piece that starts as a plain number is parsed where it
    // stands, without a search for its end first; anything else goes through toDouble.
    template <typename Number>
    static void forEachBlankNumber(const char* begin, const char* end, Number number) {
        for (const char* p = begin;;) {
            if (p < end && (isDigit(*p) || (*p == '-' && end - p > 1 && isDigit(p[1])))) {
                double v = 0;
                const auto r = std::from_chars(p, end, v, std::chars_format::general);
                if (r.ec == std::errc() && (r.ptr == end || *r.ptr == ' ')) {
                    number(v);
                    if (r.ptr == end) {
                        return;
                    }
                    p = r.ptr + 1;
                    continue;
                }
            }
            const char* at = static_cast<const char*>(std::memchr(p, ' ', size_t(end - p)));
            number(toDouble(p, at ? at : end));
            if (!at) {
                return;
            }
            p = at + 1;
        }
    }

    // The fields of a line of tab-separated columns whose blanks mean nothing: [begin, end) without its
    // blanks, carriage returns and line feeds (and, with dropStarAfterTab, a star right after a tab:
    // "\t**" keeps its second) copied into `clean`, which is reused from line to line, then split at tabs
    // with empty fields left out. At most `most` fields go to field/fieldEnd, pointing into `clean`;
    // their count is returned. Byte by byte: text of other scripts is the caller's to decode first.
    static int tabFields(const char* begin, const char* end, QByteArray& clean, bool dropStarAfterTab,
                         const char** field, const char** fieldEnd, int most);

    // Calls line(lineBegin, lineEnd) for every line of [begin, end) as nextLine gives them.
    template <typename Line> static void forEachLine(const char* begin, const char* end, Line line) {
        const char* b = nullptr;
        const char* e = nullptr;
        while (nextLine(begin, end, b, e)) {
            line(b, e);
        }
    }

    // Text of bytes decoded as UTF-8, a byte-order mark kept as the character it is (it was decoded
    // in the middle of a file).
    static QString text(const char* begin, const char* end);

    // Space as the toolkit trims it around numbers and lines, in ASCII: blank, tab, line feed, vertical
    // tab, form feed, carriage return.
    static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    // [begin, end) holds a byte of a multi-byte UTF-8 sequence: the text needs the toolkit's reading.
    static bool hasNonAscii(const char* begin, const char* end) {
        return std::any_of(begin, end, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    }
    // [begin, end) without the ASCII space (isSpace) around it.
    static void trim(const char*& begin, const char*& end) {
        while (begin < end && isSpace(*begin)) {
            ++begin;
        }
        while (end > begin && isSpace(end[-1])) {
            --end;
        }
    }
};

#endif // NUMBERREADER_H
