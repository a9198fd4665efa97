#ifndef BUSYGUARD_H
#define BUSYGUARD_H

// The application-wide guard for long loops that let the event loop run (file reading, sweeps, sums
// over days). While any BusyGuard lives, BusyGuard::busy() is true: menu slots and form slots that
// would start new work or tear down forms return at once. Long loops call BusyGuard::processEvents(),
// which keeps painting and timers alive but leaves user input queued until the work is done.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    static bool busy();
    static void processEvents();
};

#endif // BUSYGUARD_H
