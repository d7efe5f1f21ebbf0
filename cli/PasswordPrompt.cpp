#include "PasswordPrompt.h"

#include <QScopeGuard>

#include <string>

#if !defined(_WIN32)
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

#if !defined(_WIN32)
void WriteText(int fd, const QByteArray& text)
{
    const char* data = text.constData();
    for (qsizetype left = text.size(); left > 0;) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written <= 0)
            return;
        data += written;
        left -= written;
    }
}

// Reads one line, looking at the stop flag between waits: a signal's handler only sets the
// flag, so the read must not block until Enter.
std::optional<std::string> ReadLine(int fd, const std::atomic<bool>& stopRequested)
{
    constexpr int kStopCheckMilliseconds = 100;
    std::string line;
    for (;;) {
        if (stopRequested.load())
            return std::nullopt;
        pollfd wanted{fd, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, kStopCheckMilliseconds);
        if (ready <= 0)
            continue; // a timeout, or a signal (EINTR): look at the flag again
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0)
            continue;
        if (got == 0 || c == '\n')
            return line;
        line.push_back(c);
    }
}
#endif

} // namespace

std::optional<QString> AskPassword(const QString& fileName, const std::atomic<bool>& stopRequested)
{
#if defined(_WIN32)
    Q_UNUSED(fileName);
    Q_UNUSED(stopRequested);
    return std::nullopt;
#else
    if (isatty(STDIN_FILENO) == 0)
        return std::nullopt;
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const auto closeTerminal = qScopeGuard([fd] { ::close(fd); });
    WriteText(fd, "Password for " + fileName.toUtf8() + ": ");
    termios saved{};
    const bool quiet = tcgetattr(fd, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &silent);
    }
    const auto restore = qScopeGuard([&] {
        if (quiet)
            tcsetattr(fd, TCSAFLUSH, &saved);
        WriteText(fd, "\n");
    });
    const std::optional<std::string> line = ReadLine(fd, stopRequested);
    if (!line)
        return std::nullopt;
    return QString::fromStdString(*line);
#endif
}
