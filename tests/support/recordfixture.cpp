#include "support/recordfixture.h"

#include "core/settings.h"

Data RecordFixture::shaped(int modules, int channels, int rays, int npoints) {
    Data d;
    d.modules = modules;
    d.channels = channels;
    d.rays = rays;
    d.npoints = npoints;
    return d;
}

void RecordFixture::dropCached() {
    Data cached = Settings::getInstance()->getData();
    freeSamples(cached);
    Data empty;
    Settings::getInstance()->setData(empty);
}

RecordFixture::Owned::Owned(const Data& record) : data(record) {}

RecordFixture::Owned::Owned(const ObsFileWriter::Description& description)
    : data(ObsFileWriter::record(description)) {}

RecordFixture::Owned::~Owned() {
    freeSamples(data);
}
