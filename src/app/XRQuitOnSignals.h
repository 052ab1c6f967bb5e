#pragma once

#include <QObject>

class QSocketNotifier;

// Quits the application's event loop on SIGTERM, SIGINT and SIGHUP (a logout,
// `kill`, Ctrl+C), so that what a normal quit saves is saved then too. The
// signal handler only writes the signal's number to a pipe; the quit happens
// on the main thread when the event loop reads it.
class XRQuitOnSignals : public QObject
{
public:
    XRQuitOnSignals();
    ~XRQuitOnSignals() override;
    XRQuitOnSignals(const XRQuitOnSignals &) = delete;
    XRQuitOnSignals &operator=(const XRQuitOnSignals &) = delete;

private:
    static void handleSignal(int signal);
    void readSignal();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
