#ifndef TESTENV_H
#define TESTENV_H

#include <QString>

// Every test runs with its own HOME and settings store (set by CTest); this also turns on the
// standard paths' test mode, so a test run by hand never touches the user's real settings.
namespace TestEnv {
void isolate();
// Removes everything the settings store holds for the application.
void clearSettingsStore();
} // namespace TestEnv

#endif // TESTENV_H
