#include "PasswordPrompt.h"

#include <cstdio>
#include <string>

#if !defined(_WIN32)
#include <termios.h>
#include <unistd.h>
#endif

std::optional<QString> AskPassword(const QString& fileName)
{
#if defined(_WIN32)
    Q_UNUSED(fileName);
    return std::nullopt;
#else
    if (isatty(STDIN_FILENO) == 0)
        return std::nullopt;
    FILE* terminal = std::fopen("/dev/tty", "r+");
    if (terminal == nullptr)
        return std::nullopt;
    const int fd = fileno(terminal);
    std::fprintf(terminal, "Password for %s: ", qUtf8Printable(fileName));
    std::fflush(terminal);
    termios saved{};
    const bool quiet = tcgetattr(fd, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &silent);
    }
    std::string line;
    for (int c = std::fgetc(terminal); c != EOF && c != '\n'; c = std::fgetc(terminal))
        line.push_back(static_cast<char>(c));
    if (quiet)
        tcsetattr(fd, TCSAFLUSH, &saved);
    std::fputc('\n', terminal);
    std::fclose(terminal);
    return QString::fromUtf8(line);
#endif
}
