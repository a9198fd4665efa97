#ifndef RECORDFIXTURE_H
#define RECORDFIXTURE_H

#include "core/data.h"
#include "support/obsfilewriter.h"

// Records in memory with no file behind them, and the cleanup of the record the settings cache.
namespace RecordFixture {
// Only the counts set, in the order of the sample indices; no samples allocated yet.
Data shaped(int modules, int channels, int rays, int npoints);
// Frees the samples of the cached record and caches an empty one, so that the next test reads anew.
void dropCached();

// Owns a record's samples for the length of a test.
class Owned {
public:
    explicit Owned(const Data& record);
    // The record of an observation file description, built in memory.
    explicit Owned(const ObsFileWriter::Description& description);
    ~Owned();
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Data data;
};
} // namespace RecordFixture

#endif // RECORDFIXTURE_H
