#include "support/nativedates.h"

#include <QDir>
#include <QFileInfo>

QVector<double> NativeDates::formBands() {
    return {109.21, 109.62, 110.04, 110.45, 110.87, 111.29};
}

QString NativeDates::fileName(const QString& ddmmyy, int hour, const QString& suffix, const QString& part) {
    return QStringLiteral("%1_%2_N1_%3%4.pnt")
        .arg(ddmmyy)
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(part, suffix);
}

ObsFileWriter::Description NativeDates::description(int npoints, SeriesFn value) {
    ObsFileWriter::Description d;
    d.npoints = npoints;
    d.modules = 1;
    d.rays = 1;
    d.nbands = 6;
    d.fbands = formBands();
    d.tresolution = formTres * 1000.0;
    if (value) {
        d.value = [value](int p, int, int, int c) { return value(p, c); };
    }
    return d;
}

bool NativeDates::write(const QString& path, int npoints, SeriesFn value) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return ObsFileWriter::write(path, description(npoints, value));
}

QVector<QVector<float>> NativeDates::channels(int npoints, SeriesFn value) {
    QVector<QVector<float>> out(7, QVector<float>(npoints));
    for (int c = 0; c < 7; ++c) {
        for (int p = 0; p < npoints; ++p) {
            out[c][p] = value(p, c);
        }
    }
    return out;
}
