#ifndef PLAINREAD_H
#define PLAINREAD_H

// The plainest fast reading of text files of numbers, the baseline of the directory readers: each file
// in one read into a reused buffer, every number of a line parsed with std::from_chars, lines that start
// with one of the given tags skipped. Single-threaded, nothing kept but a sum.

#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace Bench {

class PlainReader {
public:
    // Adds every number of the file to sum; false when it cannot be read.
    bool read(const std::string& path, std::initializer_list<const char*> skipTags, double& sum) {
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
        buffer.resize(std::size_t(size));
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        const char* p = buffer.data();
        const char* end = p + got;
        while (p < end) {
            const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            if (!lineEnd) {
                lineEnd = end;
            }
            if (!skipped(p, lineEnd, skipTags)) {
                while (p < lineEnd) {
                    if (*p == ' ' || *p == '\r') {
                        ++p;
                        continue;
                    }
                    double v = 0;
                    const auto r = std::from_chars(p, lineEnd, v);
                    if (r.ec == std::errc()) {
                        sum += v;
                        p = r.ptr;
                    } else {
                        ++p;
                    }
                }
            }
            p = lineEnd + 1;
        }
        return true;
    }

private:
    static bool skipped(const char* p, const char* lineEnd, std::initializer_list<const char*> tags) {
        for (const char* tag : tags) {
            const std::size_t n = std::strlen(tag);
            if (std::size_t(lineEnd - p) >= n && std::memcmp(p, tag, n) == 0) {
                return true;
            }
        }
        return false;
    }

    std::vector<char> buffer;
};

} // namespace Bench

#endif // PLAINREAD_H
