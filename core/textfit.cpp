#include "core/textfit.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

struct Piece {
    QString text;
    bool separator;
};

bool isSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

std::vector<Piece> pieces(const QString& line) {
    std::vector<Piece> out;
    int start = 0;
    for (int i = 1; i <= line.size(); ++i) {
        if (i == line.size() || isSeparator(line[i]) != isSeparator(line[start])) {
            out.push_back({line.mid(start, i - start), isSeparator(line[start])});
            start = i;
        }
    }
    return out;
}

QString joined(const std::vector<Piece>& parts) {
    QString line;
    for (const Piece& p : parts) {
        line += p.text;
    }
    return line;
}

const QChar ellipsis(0x2026);

// The head and the tail of text around an ellipsis, as many characters kept as fit in room (never a
// half of a surrogate pair); the ellipsis alone when none does.
QString elideMiddle(const QString& text, int room, const TextFit::Measure& measure) {
    if (measure(text) <= room) {
        return text;
    }
    const auto kept = [&text](int k) {
        int head = (k + 1) / 2;
        int tail = k / 2;
        if (head > 0 && text[head - 1].isHighSurrogate()) {
            --head;
        }
        if (tail > 0 && text[text.size() - tail].isLowSurrogate()) {
            --tail;
        }
        return text.left(head) + ellipsis + text.right(tail);
    };
    int lo = 0; // kept(lo) fits, or lo is 0
    int hi = text.size() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (measure(kept(mid)) <= room) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return kept(lo);
}

} // namespace

bool TextFit::isNumber(const QString& field) {
    static const QRegularExpression number(QStringLiteral(
        "^(?:[A-Za-z_/][A-Za-z0-9_/]*=)?\\(?[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?\\)?[:;,%]*$"));
    return number.match(field).hasMatch();
}

QStringList TextFit::wrap(const QString& line, int width, const Measure& measure, bool* cut) {
    if (measure(line) <= width) {
        return {line};
    }
    QStringList out;
    QString current;
    bool open = false; // current holds a field
    QString separator; // since the last field; a leading one is the line's indent
    for (const Piece& piece : pieces(line)) {
        if (piece.separator) {
            separator += piece.text;
            continue;
        }
        if (open) {
            const QString longer = current + separator + piece.text;
            separator.clear();
            if (measure(longer) <= width) {
                current = longer;
                continue;
            }
            // A break: the separator goes with it.
            out << current;
            current.clear();
        }
        if (!out.isEmpty()) {
            separator.clear(); // an indent belongs to the first line only
        }
        current += separator + piece.text;
        separator.clear();
        open = true;
        if (measure(current) > width) {
            // Wider than a whole line by itself.
            out << elideMiddle(current, width, measure);
            if (cut) {
                *cut = true;
            }
            current.clear();
            open = false;
        }
    }
    if (open || out.isEmpty()) {
        out << current;
    }
    return out;
}

QStringList TextFit::elide(const QString& line, int width, const Measure& measure, bool* cut) {
    if (measure(line) <= width) {
        return {line};
    }
    // Room from the blanks first: a run of them, or a tab, becomes one blank (an indent stays).
    std::vector<Piece> parts = pieces(line);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].separator) {
            parts[i].text = QStringLiteral(" ");
        }
    }
    if (measure(joined(parts)) <= width) {
        return {joined(parts)};
    }
    // The fields that may be cut, the widest first: a path gives its room before a name beside it.
    struct Cuttable {
        std::size_t index;
        int width;
    };
    std::vector<Cuttable> cuttable;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!parts[i].separator && !isNumber(parts[i].text)) {
            cuttable.push_back({i, measure(parts[i].text)});
        }
    }
    std::stable_sort(cuttable.begin(), cuttable.end(),
                     [](const Cuttable& a, const Cuttable& b) { return a.width > b.width; });
    for (const Cuttable& c : cuttable) {
        Piece& field = parts[c.index];
        const QString whole = field.text;
        int room = c.width;
        for (;;) {
            const int excess = measure(joined(parts)) - width;
            if (excess <= 0) {
                if (cut) {
                    *cut = true;
                }
                return {joined(parts)};
            }
            if (field.text == ellipsis) {
                break;
            }
            // A line need not shrink as much as its field does (kerning, a tab in the indent): at least
            // a pixel each round.
            room = std::min(room - 1, measure(field.text) - excess);
            field.text = elideMiddle(whole, std::max(0, room), measure);
        }
    }
    // Numbers alone are wider than the label: they go on lines of their own instead.
    return wrap(line, width, measure, cut);
}

int TextFit::tableWidth(const QString& text, const Measure& measure) {
    // A calculation's rows are a few short fields; anything longer may be a path or a sentence, which
    // wraps rather than widens.
    const int longestRow = 64;
    const int longestField = 16;
    int width = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1Char('\t')) || line.size() > longestRow) {
            continue;
        }
        const std::vector<Piece> parts = pieces(line);
        const bool shortFields = std::all_of(parts.cbegin(), parts.cend(), [](const Piece& p) {
            return p.separator || p.text.size() <= longestField || TextFit::isNumber(p.text);
        });
        if (shortFields) {
            width = std::max(width, measure(line));
        }
    }
    return width;
}
