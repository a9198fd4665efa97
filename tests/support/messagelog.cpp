#include "support/messagelog.h"

namespace {
QStringList collected;

void collect(QtMsgType, const QMessageLogContext&, const QString& text) {
    collected << text;
}
} // namespace

MessageLog::MessageLog() {
    collected.clear();
    previous = qInstallMessageHandler(&collect);
}

MessageLog::~MessageLog() {
    qInstallMessageHandler(previous);
}

QStringList MessageLog::lines() const {
    return collected;
}

QStringList MessageLog::linesStartingWith(const QString& prefix) const {
    QStringList out;
    for (const QString& line : collected) {
        if (line.startsWith(prefix)) {
            out << line;
        }
    }
    return out;
}
