// Fuzzes the green-date list: any bytes as "green_dates.txt" are read, the list is written back and read
// again; the green dates and their comments must survive the round trip unchanged.
#include "native/greendates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QHash<QString, QString> greenWithComments(const GreenDates::List& list) {
    QHash<QString, QString> out;
    for (auto it = list.values.constBegin(); it != list.values.constEnd(); ++it) {
        if (it.value() == 1) {
            out.insert(it.key(), list.comments.value(it.key()));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString base =
        QDir::tempPath() +
        QStringLiteral("/strellix_fuzz_green_%1_").arg(QString::number(QCoreApplication::applicationPid()));
    const QString in = base + QStringLiteral("in.txt");
    const QString out = base + QStringLiteral("out.txt");
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const GreenDates::List first = GreenDates::read(in);
    if (GreenDates::write(out, first.values, first.comments) == GreenDates::Written::Failed) {
        return 0;
    }
    const GreenDates::List second = GreenDates::read(out);
    if (greenWithComments(first) != greenWithComments(second)) {
        std::abort();
    }
    return 0;
}
