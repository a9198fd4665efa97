#ifndef CACHEDREADER_H
#define CACHEDREADER_H

#include "core/data.h"

#include <QString>

class QProgressBar;

// The one cached reading of observation files that NativeGrafik, PulsarForm and FfaForm use in their
// readData(): CachedReader::readData(fileName, progressBar, data).
// The record cached in Settings is reused when its filePath equals fileName exactly and the file has
// kept the size and modification time it had when it was read; otherwise the
// cached record's samples are freed (unless notOwner) and the file is read with a Reader while the
// progress bar is shown and driven. The result is stored in `data` and in the cache (sharing the
// samples); the caller never frees them.
class CachedReader {
public:
    CachedReader() = delete;
    static Data readData(const QString& fileName, QProgressBar* progressBar, Data& data);
};

#endif // CACHEDREADER_H
