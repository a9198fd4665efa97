#include "support/ffatreewriter.h"

#include "support/gaussiannoise.h"
#include "support/resultfilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

bool FfaTreeWriter::writeLayout(const QString& dir, const Layout& layout) {
    QByteArray text = "rows=" + QByteArray::number(layout.rows) + "\ncols=1\nperiods={\n";
    for (int i = 0; i < layout.rows; ++i) {
        text += QByteArray::number(layout.period(i), 'g', 10) + '\n';
    }
    text += "}\nwidths={\n8\n}\nfoldbins={\n";
    for (int i = 0; i < layout.rows; ++i) {
        text += QByteArray::number(64 + 8 * (i % 10)) + '\n';
    }
    text += "}\n";
    QFile f(dir + QStringLiteral("/info.txt"));
    return QDir().mkpath(dir) && f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(text) == text.size();
}

bool FfaTreeWriter::writePeriodograms(const QString& path, const QVector<int>& dms, const Layout& layout,
                                      const Pulse& pulse, unsigned seed) {
    const std::vector<float> noise = GaussianNoise::samples(size_t(dms.size()) * size_t(layout.rows), seed);
    QVector<ResultFileWriter::Record> records;
    for (int d = 0; d < dms.size(); ++d) {
        QVector<double> values(layout.rows);
        for (int i = 0; i < layout.rows; ++i) {
            values[i] = 10.0 + double(noise[size_t(d) * size_t(layout.rows) + size_t(i)]);
        }
        if (pulse.periodIndex >= 0 && pulse.periodIndex < layout.rows) {
            values[pulse.periodIndex] += pulse.height / (1.0 + std::abs(dms[d] - pulse.dm) / 5.0);
        }
        records.append({dms[d], 1, values});
    }
    return QDir().mkpath(QFileInfo(path).path()) &&
           ResultFileWriter::write(path, ResultFileWriter::header(layout.rows, false), records, true, 0,
                                   true);
}
