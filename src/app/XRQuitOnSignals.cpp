#include "XRQuitOnSignals.h"

#include "XRLog.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const int quitSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The pipe's write end, for the handler, which may touch nothing else.
volatile sig_atomic_t signalWriteEnd = -1;

} // namespace

XRQuitOnSignals::XRQuitOnSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_pipe) != 0) {
        qCWarning(lcApp, "No pipe for quit signals: %s; they end the application unsaved", strerror(errno));
        return;
    }
    // Neither the handler nor the reader ever waits on the pipe.
    ::fcntl(m_pipe[0], F_SETFL, ::fcntl(m_pipe[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(m_pipe[1], F_SETFL, ::fcntl(m_pipe[1], F_GETFL) | O_NONBLOCK);
    signalWriteEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &XRQuitOnSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = &XRQuitOnSignals::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : quitSignals)
        ::sigaction(signal, &action, nullptr);
}

XRQuitOnSignals::~XRQuitOnSignals()
{
    if (m_pipe[0] < 0)
        return;
    for (const int signal : quitSignals)
        ::signal(signal, SIG_DFL);
    signalWriteEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void XRQuitOnSignals::handleSignal(int signal)
{
    const int savedErrno = errno;
    const char number = char(signal);
    if (signalWriteEnd >= 0) {
        // A full pipe already holds a quit: a write that fails loses nothing.
        const ssize_t written = ::write(signalWriteEnd, &number, 1);
        Q_UNUSED(written);
    }
    errno = savedErrno;
}

void XRQuitOnSignals::readSignal()
{
    char number = 0;
    while (::read(m_pipe[0], &number, 1) == 1)
        qCInfo(lcApp, "Quitting on signal %d", int(number));
    QCoreApplication::quit();
}
