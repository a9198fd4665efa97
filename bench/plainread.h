#ifndef PLAINREAD_H
#define PLAINREAD_H

// The plainest fast reading of text files of numbers, the baselines of the directory readers: each file
// in one read into a reused buffer, every number of a line parsed with std::from_chars, single-threaded.
// PlainReader keeps nothing but a sum; PlainKeeper also keeps every series as a directory reader must:
// one std::vector<double> per series, sized from its line, in a std::unordered_map under its key.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace Bench {

// The bytes of one file in one read into a buffer kept for the next file.
class FileBuffer {
public:
    bool load(const std::string& path) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) {
            return false;
        }
        std::fseek(f, 0, SEEK_END);
        const long size = std::ftell(f);
        std::fseek(f, 0, SEEK_SET);
        if (size < 0) {
            std::fclose(f);
            return false;
        }
        bytes.resize(std::size_t(size));
        got = std::fread(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return true;
    }
    const char* begin() const { return bytes.data(); }
    const char* end() const { return bytes.data() + got; }

private:
    std::vector<char> bytes;
    std::size_t got = 0;
};

// Calls line(begin, end) for every line, without its line feed.
template <typename Line> void forEachLine(const char* p, const char* end, Line line) {
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
        if (!lineEnd) {
            lineEnd = end;
        }
        line(p, lineEnd);
        p = lineEnd + 1;
    }
}

// Calls number(v) for every number of a line of numbers between blanks.
template <typename Number> void forEachNumber(const char* p, const char* lineEnd, Number number) {
    while (p < lineEnd) {
        if (*p == ' ' || *p == '\r') {
            ++p;
            continue;
        }
        double v = 0;
        const auto r = std::from_chars(p, lineEnd, v);
        if (r.ec == std::errc()) {
            number(v);
            p = r.ptr;
        } else {
            ++p;
        }
    }
}

inline bool startsWith(const char* p, const char* lineEnd, const char* tag) {
    const std::size_t n = std::strlen(tag);
    return std::size_t(lineEnd - p) >= n && std::memcmp(p, tag, n) == 0;
}

class PlainReader {
public:
    // Adds every number of the file to sum; false when it cannot be read.
    bool read(const std::string& path, std::initializer_list<const char*> skipTags, double& sum) {
        if (!buffer.load(path)) {
            return false;
        }
        forEachLine(buffer.begin(), buffer.end(), [&](const char* p, const char* lineEnd) {
            for (const char* tag : skipTags) {
                if (startsWith(p, lineEnd, tag)) {
                    return;
                }
            }
            forEachNumber(p, lineEnd, [&sum](double v) { sum += v; });
        });
        return true;
    }

private:
    FileBuffer buffer;
};

class PlainKeeper {
public:
    // Whether a series is every number line of its block, one after the other (profiles), or its last
    // number line (search results).
    enum class Lines { Append, Replace };

    std::unordered_map<std::string, std::vector<double>> series;

    // Reads one file: a line starting with blockTag opens the series keyPrefix + the rest of that line;
    // lines starting with skipTag, and number lines before the first block, are skipped.
    bool read(const std::string& path, const std::string& keyPrefix, const char* blockTag,
              const char* skipTag, Lines lines) {
        if (!buffer.load(path)) {
            return false;
        }
        std::vector<double>* open = nullptr;
        const std::size_t tagLength = std::strlen(blockTag);
        forEachLine(buffer.begin(), buffer.end(), [&](const char* p, const char* lineEnd) {
            if (skipTag && startsWith(p, lineEnd, skipTag)) {
                return;
            }
            if (startsWith(p, lineEnd, blockTag)) {
                const char* e = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
                open = &series[keyPrefix + std::string(p + tagLength, e)];
                open->clear();
                return;
            }
            if (!open) {
                return;
            }
            if (lines == Lines::Replace) {
                open->clear();
            }
            open->reserve(open->size() + std::size_t(std::count(p, lineEnd, ' ')) + 1);
            forEachNumber(p, lineEnd, [open](double v) { open->push_back(v); });
        });
        return true;
    }

    // Frees what was kept and gives the C library's free memory back to the system, so that the next
    // reading starts on fresh memory as a newly opened directory does.
    void clear() {
        series = {};
        releaseFreeMemory();
    }

    static void releaseFreeMemory() {
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    }

private:
    FileBuffer buffer;
};

} // namespace Bench

#endif // PLAINREAD_H
