#ifndef BUSYGUARD_H
#define BUSYGUARD_H

// The application-wide guard for long loops that let the event loop run (file reading, sweeps, sums
// over days). While any BusyGuard lives, BusyGuard::busy() is true: menu slots and form slots that
// would start new work or tear down forms return at once. Long loops call BusyGuard::processEvents(),
// which keeps painting and timers alive but leaves user input queued until the work is done, so a menu
// click made meanwhile runs afterwards. Meanwhile the wait cursor shows: the first guard on the GUI
// thread sets it as the application's override cursor, the last one to end restores it, on every path
// out of the work (nested guards count once). A Pause shows the normal cursor again while a box or
// dialog waits for the user in the middle of busy work; the work stays guarded.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    static bool busy();
    static void processEvents();

    class Pause {
    public:
        Pause();
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        bool pushed = false;
    };
};

#endif // BUSYGUARD_H
