#include "support/testenv.h"

#include <QSettings>
#include <QStandardPaths>

void TestEnv::isolate() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestEnv::clearSettingsStore() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "orv", "Strellix-2_visual");
    store.clear();
    store.sync();
}
