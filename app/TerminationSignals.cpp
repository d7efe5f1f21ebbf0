#include "TerminationSignals.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void OnUnixSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

void Catch(int signalNumber)
{
    struct sigaction action = {};
    action.sa_handler = OnUnixSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

void Restore(int signalNumber)
{
    std::signal(signalNumber, SIG_DFL);
}

} // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), FOnSignal(std::move(onSignal))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    FNotifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::Drain);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        Catch(signalNumber);
}

TTerminationSignals::~TTerminationSignals()
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        Restore(signalNumber);
    for (int& fd : g_signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TTerminationSignals::Drain()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_signalPipe[1], &byte, 1);
    if (FOnSignal)
        FOnSignal();
}
