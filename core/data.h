#ifndef DATA_H
#define DATA_H

#include <QDateTime>
#include <QString>
#include <QVector>

// One observation file in memory. Copies share the sample arrays; whoever drops the last record frees
// them with freeSamples() unless notOwner is set.
struct Data {
    int npoints = 0;
    int modules = -1;
    int channels = 0;
    int rays = 0;
    int firstModule = 1;
    double tresolution = 0;
    double tres = 0;
    double factor = 0;
    double mark = 0;
    QDateTime startDateTime;
    QString nativeDatetime;
    QString fileName;
    QString spare;
    QString filePath;
    QVector<double> fbands;
    bool notOwner = false;
    float**** samples = nullptr;
};

// Largest sample count one record may hold (16 GiB of floats); anything above is a broken passport.
constexpr qint64 maxSampleCount = qint64(1) << 32;

// Allocates samples[modules][channels][rays][npoints] from the record's counts, in 64-bit arithmetic,
// zero-filled unless the caller writes every sample itself (zeroFill false saves a pass over memory).
// Refuses negative, zero-sized or absurd counts and a failed allocation: then samples stays null and
// false is returned. Any previous buffer is not freed here.
bool allocSamples(Data& data, bool zeroFill = true);

// Frees the record's sample arrays unless notOwner is set or there are none; leaves samples null.
void freeSamples(Data& data);

#endif // DATA_H
