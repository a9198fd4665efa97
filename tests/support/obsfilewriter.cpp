#include "support/obsfilewriter.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <memory>

QVector<double> ObsFileWriter::defaultBands(int nbands) {
    QVector<double> out;
    for (int i = 0; i < nbands; ++i) {
        out << 109.0 + 2.5 * (i + 0.5) / nbands;
    }
    return out;
}

QVector<double> ObsFileWriter::bands(const Description& d) {
    return d.fbands.isEmpty() ? defaultBands(d.nbands) : d.fbands;
}

QByteArray ObsFileWriter::passportFromLines(const QStringList& keyLines) {
    QByteArray out = "numpar " + QByteArray::number(keyLines.size() + 1) + "\n";
    for (const QString& line : keyLines) {
        out += line.toUtf8() + "\n";
    }
    return out;
}

QStringList ObsFileWriter::keyLines(const Description& d) {
    QStringList modulus;
    for (int m = 0; m < d.modules; ++m) {
        modulus << QString::number(d.firstModule + m);
    }
    QStringList bandText;
    for (double f : bands(d)) {
        bandText << QString::number(f, 'f', 7);
    }
    QStringList lines;
    lines << QStringLiteral("source\tsynthetic");
    lines << QStringLiteral("date_begin\t%1").arg(d.dateBegin);
    lines << QStringLiteral("time_begin\t%1%2").arg(d.utc ? QStringLiteral("UTC ") : QString(), d.timeBegin);
    lines << QStringLiteral("modulus\t%1").arg(modulus.join(' '));
    lines << QStringLiteral("rays\t%1").arg(d.rays);
    lines << QStringLiteral("tresolution\t%1").arg(d.tresolution, 0, 'g', 17);
    lines << QStringLiteral("npoints\t%1").arg(d.npoints);
    lines << QStringLiteral("nbands\t%1").arg(d.nbands);
    lines << QStringLiteral("fbands\t%1").arg(bandText.join(' '));
    lines << d.extraLines;
    return lines;
}

qint64 ObsFileWriter::bytesPerPoint(const Description& d) {
    return qint64(d.modules) * d.rays * (d.nbands + 1) * 4;
}

bool ObsFileWriter::write(const QString& path, const Description& d) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray passport = passportFromLines(keyLines(d));
    if (d.crlf) {
        passport.replace("\n", "\r\n");
    }
    if (f.write(passport) < 0) {
        return false;
    }
    const int channels = d.nbands + 1;
    const qint64 perPoint = bytesPerPoint(d);
    const qint64 total = qint64(d.npoints) * perPoint;
    const qint64 limit = d.sampleBytes >= 0 ? qMin(d.sampleBytes, total) : total;
    QByteArray point(int(perPoint), '\0');
    qint64 written = 0;
    for (int p = 0; p < d.npoints && written < limit; ++p) {
        char* out = point.data();
        for (int m = 0; m < d.modules; ++m) {
            for (int r = 0; r < d.rays; ++r) {
                for (int c = 0; c < channels; ++c) {
                    const float v = d.value ? d.value(p, m, r, c) : 0.0f;
                    qToLittleEndian(v, out);
                    out += 4;
                }
            }
        }
        const qint64 n = qMin(perPoint, limit - written);
        if (f.write(point.constData(), n) != n) {
            return false;
        }
        written += n;
    }
    return true;
}

Data ObsFileWriter::record(const Description& d) {
    Data data;
    data.npoints = d.npoints;
    data.modules = d.modules;
    data.firstModule = d.firstModule;
    data.channels = d.nbands + 1;
    data.rays = d.rays;
    data.tresolution = d.tresolution;
    data.tres = d.tresolution / 1000.0;
    data.fbands = bands(d);
    data.startDateTime = QDateTime(QDate::fromString(d.dateBegin, QStringLiteral("dd.MM.yyyy")),
                                   QTime::fromString(d.timeBegin, QStringLiteral("hh:mm:ss")));
    if (!allocSamples(data)) {
        return data;
    }
    for (int m = 0; m < data.modules; ++m) {
        for (int c = 0; c < data.channels; ++c) {
            for (int r = 0; r < data.rays; ++r) {
                float* series = data.samples[m][c][r];
                for (int p = 0; p < data.npoints; ++p) {
                    series[p] = d.value ? d.value(p, m, r, c) : 0.0f;
                }
            }
        }
    }
    return data;
}

bool ObsFileWriter::writeRaw(const QString& path, const QByteArray& passport, const QByteArray& tail) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return f.write(passport) == passport.size() && f.write(tail) == tail.size();
}

QVector<int> ObsFileWriter::dispersionShifts(const QVector<double>& fbands, double dm, double tres) {
    QVector<int> shifts(fbands.size() + 1, 0);
    if (fbands.isEmpty()) {
        return shifts;
    }
    const double fref = fbands.last();
    for (int c = 0; c + 1 < fbands.size(); ++c) {
        const double f = fbands[c];
        const double d = ((1 / f) / f - (1 / fref) / fref) * dispersionConstant * dm / tres;
        shifts[c] = int(std::round(d)); // std::round rounds halves away from zero
    }
    return shifts;
}

QVector<int> ObsFileWriter::pulseStarts(const PulseTrain& train, double tres, int npoints) {
    QVector<int> starts;
    for (int n = 0;; ++n) {
        const double p = std::round((train.phase + n * train.period) / tres);
        if (p >= npoints) {
            break;
        }
        starts << int(p);
    }
    return starts;
}

ObsFileWriter::ValueFn ObsFileWriter::whiteNoise(float amplitude, quint32 seed) {
    return [=](int p, int m, int r, int c) -> float {
        // A full avalanche mix, so that no period of the point index shows in a spectrum.
        quint32 h = seed ^ (quint32(p) * 0x9E3779B1u) ^ (quint32(c) * 0x85EBCA6Bu) ^
                    (quint32(r) * 0xC2B2AE35u) ^ (quint32(m) * 0x27D4EB2Fu);
        h ^= h >> 16;
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
        return amplitude * float(h >> 8) / float(1u << 24);
    };
}

ObsFileWriter::ValueFn ObsFileWriter::pulseTrain(const Description& d, const PulseTrain& train,
                                                 ValueFn noise) {
    const double tres = d.tresolution / 1000.0;
    const QVector<double> fb = bands(d);
    const QVector<int> shifts = dispersionShifts(fb, train.dm, tres);
    auto on = std::make_shared<QVector<char>>(d.npoints, 0);
    for (int s : pulseStarts(train, tres, d.npoints)) {
        for (int k = s; k < s + train.width && k < d.npoints; ++k) {
            (*on)[k] = 1;
        }
    }
    const int bandCount = fb.size();
    return [=](int p, int m, int r, int c) -> float {
        float v = train.baseline;
        const bool inBeam = (train.module < 0 || train.module == m) && (train.ray < 0 || train.ray == r);
        if (inBeam && c < bandCount) {
            const int q = p - shifts[c];
            if (q >= 0 && q < on->size() && (*on)[q]) {
                v += train.amplitude;
            }
        }
        return noise ? v + noise(p, m, r, c) : v;
    };
}
