// Fuzzes the text rendering of Fourier/FFA result files: any bytes as the file, rendered to a scratch file.
#include "core/reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString base =
        QDir::tempPath() + QStringLiteral("/strellix_fuzz_resultfile_%1")
                               .arg(QString::number(QCoreApplication::applicationPid()));
    static const QString in = base + QStringLiteral("_f00_n0_av0.txt");
    static const QString out = base + QStringLiteral("_f00_n0_av0_text.txt");
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    Reader::convertResultFileToText(in, out);
    return 0;
}
