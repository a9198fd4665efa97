#ifndef OBSFILEWRITER_H
#define OBSFILEWRITER_H

#include "core/data.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Writes synthetic observation files (.pnt / .pnthr) for tests: a passport of key lines followed by
// little-endian float32 samples in file order (point, module, ray, channel; channel fastest).
class ObsFileWriter {
public:
    // Value of one sample; module, ray and channel are 0-based indices.
    using ValueFn = std::function<float(int point, int module, int ray, int channel)>;

    struct Description {
        int npoints = 1000;
        int modules = 1;
        int firstModule = 1;
        int rays = 8;
        int nbands = 32;              // the file holds nbands + 1 channels (the extra one after the bands)
        QVector<double> fbands;       // empty: defaultBands(nbands)
        double tresolution = 12.4928; // milliseconds
        QString dateBegin = QStringLiteral("02.03.2020");
        QString timeBegin = QStringLiteral("01:30:00"); // Moscow time unless utc
        bool utc = false;                               // writes "UTC" into the time_begin value
        QStringList extraLines;                         // more key lines, written verbatim after the others
        ValueFn value;                                  // null: every sample is 0
        qint64 sampleBytes = -1; // >= 0: write only that many bytes of samples (a damaged file)
        bool crlf = false;       // passport lines end in CR LF, as an editor on another system may leave them
    };

    // Band frequencies in MHz, ascending across 109.0 .. 111.5 MHz (channel nbands-1 is the highest).
    static QVector<double> defaultBands(int nbands);
    // The bands a description writes.
    static QVector<double> bands(const Description& d);

    // Passport bytes: a first line "numpar H" and the given key lines, each ending in a line feed.
    static QByteArray passportFromLines(const QStringList& keyLines);
    // The key lines a description writes (npoints, modulus, rays, nbands, fbands, tresolution, dates...).
    static QStringList keyLines(const Description& d);
    // Bytes per time point: modules * rays * (nbands + 1) * 4.
    static qint64 bytesPerPoint(const Description& d);

    // Writes the file; false when it cannot be written.
    static bool write(const QString& path, const Description& d);
    // The record of such a file built in memory, without a file or the reader: counts, bands, sampling
    // interval, start date-time taken as written (dd.MM.yyyy, hh:mm:ss) and every sample (extra channel
    // included). The samples come from allocSamples(); the caller frees them with freeSamples().
    static Data record(const Description& d);
    // Writes passport and tail verbatim.
    static bool writeRaw(const QString& path, const QByteArray& passport,
                         const QByteArray& tail = QByteArray());

    // A dispersed periodic pulse train, matching the channel sum: channel c (0 .. nbands-2) is delayed
    // against the reference channel nbands-1 by ((1/f)/f - (1/fref)/fref) * K * dm / tres samples,
    // rounded half away from zero (K = 4148.799999999999). In the reference channel pulse n starts at
    // point round((phase + n * period) / tres) and lasts `width` points. The extra channel stays at
    // the baseline.
    struct PulseTrain {
        double period = 1.0; // seconds
        double dm = 0.0;     // pc/cm^3
        double phase = 0.0;  // seconds, time of the first pulse in the reference channel
        int width = 1;       // points
        float amplitude = 100.0f;
        float baseline = 0.0f;
        int module = -1; // -1: every module
        int ray = -1;    // -1: every ray
    };
    static constexpr double dispersionConstant = 4148.799999999999;

    // Delay of each channel in samples (size = number of channels; the extra channel gets 0).
    static QVector<int> dispersionShifts(const QVector<double>& fbands, double dm, double tres);
    // Start points of the pulses in the reference channel within npoints.
    static QVector<int> pulseStarts(const PulseTrain& train, double tres, int npoints);
    // Deterministic white noise, uniform in [0, amplitude), from a hash of (point, module, ray, channel).
    static ValueFn whiteNoise(float amplitude, quint32 seed = 1);
    // A value function for Description::value; noise (optional) is added to every sample.
    static ValueFn pulseTrain(const Description& d, const PulseTrain& train, ValueFn noise = ValueFn());
};

#endif // OBSFILEWRITER_H
