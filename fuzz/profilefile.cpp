// Fuzzes the average-profile file parser: any bytes as the file text, then the period list at every
// number of decimals a file name can give.
#include "profiles/profilefile.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ProfileFile file =
        ProfileFile::parse(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    for (int decimals = 0; decimals <= 9; ++decimals) {
        if (file.periodTexts(decimals).size() != file.periods.size()) {
            __builtin_trap();
        }
    }
    for (const ProfileFile::Block& b : file.blocks) {
        if (b.samples.isEmpty()) {
            __builtin_trap(); // only blocks with samples are kept
        }
    }
    return 0;
}
