#include "core/cachedreader.h"

#include "core/reader.h"
#include "core/settings.h"

#include <QProgressBar>

Data CachedReader::readData(const QString& fileName, QProgressBar* progressBar, Data& data) {
    Settings* settings = Settings::getInstance();
    Data cached = settings->getData();
    if (cached.samples && !cached.filePath.isEmpty()) {
        if (cached.filePath == fileName) {
            return cached;
        }
        if (cached.npoints > 0) {
            freeSamples(cached);
            Data empty;
            settings->setData(empty);
        }
    }

    Reader reader(nullptr);
    if (progressBar) {
        progressBar->show();
        QObject::connect(&reader, SIGNAL(progress(int)), progressBar, SLOT(setValue(int)));
    }
    data = reader.readFile(fileName, false);
    settings->setData(data);
    if (progressBar) {
        progressBar->hide();
    }
    return data;
}
