// Fuzzes the readers of Fourier/FFA result files: any bytes as a day file, read by the vector, matrix
// and hash readers into sums sized from the header's N (up to 65536 values).
#include "core/resultheader.h"
#include "core/tools.h"
#include "directory/calc/resultfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>
#include <QVector>

#include <cstddef>
#include <cstdint>

namespace {
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = (qInstallMessageHandler(quiet), true); // the readers log every refusal
    Q_UNUSED(silenced);
    static const QString path =
        QDir::tempPath() + QStringLiteral("/strellix_fuzz_resultreaders_%1_f00_n0_av0.txt")
                               .arg(QCoreApplication::applicationPid());
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(bytes);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const int parsed = ResultHeader::read(buffer).points;
    const int n = (parsed > 0 && parsed <= 65536) ? parsed : 16;

    const QVector<int> dms = {0, 1, 2, 3, 5, 8};
    QVector<double> sum(n, 0.0);
    for (int dm : {0, 5, 8}) {
        ResultFile::addFourierFromFile(path, dms.size(), dm, sum);
        ResultFile::addFourierFromFile(path, dms.size(), dm, sum, dms); // the jump by layout
    }
    QVector<QVector<double>> matrix(dms.size(), QVector<double>(n, 0.0));
    ResultFile::addFourierMatrixFromFile(path, dms.size(), matrix, n);
    QHash<QString, QVector<double>> sums;
    for (int dm : dms) {
        sums.insert(Tools::fourierFileBaseD(0, 0, 0, dm), QVector<double>(n, 0.0));
    }
    QString errors;
    ResultFile::addFourierHashFromFile(path, dms.size(), 0, 0, 0, sums, n, errors);
    return 0;
}
