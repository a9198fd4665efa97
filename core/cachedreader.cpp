#include "core/cachedreader.h"

#include "core/reader.h"
#include "core/settings.h"

#include <QFileInfo>
#include <QProgressBar>

namespace {
FileStamp stampOf(const QString& path) {
    const QFileInfo info(path);
    FileStamp stamp;
    if (info.isFile()) {
        stamp.size = info.size();
        stamp.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    }
    return stamp;
}
} // namespace

Data CachedReader::readData(const QString& fileName, QProgressBar* progressBar, Data& data) {
    Settings* settings = Settings::getInstance();
    Data cached = settings->getData();
    if (cached.samples && !cached.filePath.isEmpty()) {
        // A file rewritten since it was read (another size or time) is read afresh. A file gone from
        // the disk has nothing fresher to give, and a record cached without a stamp did not come from a
        // file read here: both are taken as they are.
        const FileStamp was = settings->getDataStamp();
        const FileStamp now = stampOf(fileName);
        if (cached.filePath == fileName && (!was.known() || !now.known() || was == now)) {
            return cached;
        }
        if (cached.npoints > 0) {
            freeSamples(cached);
            Data empty;
            settings->setData(empty);
        }
    }

    // Taken before the read: a file that changes while it is read is read again next time.
    const FileStamp stamp = stampOf(fileName);
    Reader reader(nullptr);
    if (progressBar) {
        progressBar->show();
        QObject::connect(&reader, SIGNAL(progress(int)), progressBar, SLOT(setValue(int)));
    }
    data = reader.readFile(fileName, false);
    settings->setData(data);
    settings->setDataStamp(stamp);
    if (progressBar) {
        progressBar->hide();
    }
    return data;
}
