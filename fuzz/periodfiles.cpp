// Fuzzes the pulse-time readers of the period search: any bytes as a times file and as a pulse list,
// read, sorted and turned into differences and both tables.
#include "core/desktop.h"
#include "directory/calc/pulsetimes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {

// No box may wait for a click during fuzzing.
class SilentDesktop : public Desktop {
public:
    void warning(QWidget*, const QString&, const QString&) override {}
    void information(QWidget*, const QString&, const QString&) override {}
};

// The readers' debug lines would drown the fuzzer's own output.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void readAll(bool (*read)(const QString&, QVector<qint64>&, QWidget*), const QString& path) {
    QVector<qint64> times;
    if (!read(path, times, nullptr)) {
        return;
    }
    const QVector<double> d0 = PulseTimes::differences(times);
    QVector<double> d;
    PulseTimes::positiveDifferences(d0, 2, 3, d);
    PulseTimes::positiveDifferences(d0, 0, 0, d);
    PulseTimes::timesTable(times, d0);
    PulseTimes::differencesTable(d);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentDesktop desktop;
    static const bool installed = (Desktop::setInstance(&desktop), qInstallMessageHandler(quiet), true);
    static const QString path =
        QDir::tempPath() + QStringLiteral("/strellix_fuzz_periodfiles_%1.txt")
                               .arg(QString::number(QCoreApplication::applicationPid()));
    Q_UNUSED(installed);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    readAll(&PulseTimes::readTimesFile, path);
    readAll(&PulseTimes::readPnthrList, path);
    return 0;
}
