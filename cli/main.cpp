#include "SplitCommand.h"
#include "SplitOptions.h"

#include "TavloVersion.h"

#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QTextStream>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

// Set from signal handlers: only lock-free atomics may be touched there.
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
TStopRequest stop;
// The stop message, ready for a handler that ends the process at once.
char stoppedText[512];
std::size_t stoppedLength = 0;

void KeepStoppedText(const QString& text)
{
    const QByteArray bytes = (text + u'\n').toUtf8().left(sizeof stoppedText);
    std::memcpy(stoppedText, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    stoppedLength = static_cast<std::size_t>(bytes.size());
}

void OnStopSignal(int signal)
{
    stop.Signal.store(signal);
    if (stop.EndAtOnce.load()) {
#if !defined(_WIN32)
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, stoppedText, stoppedLength);
#endif
        std::_Exit(128 + signal);
    }
    stop.Requested.store(true);
}

// Ctrl-C, a termination and a hang-up all stop the run the same way, so that what it wrote
// is removed and the terminal is given back as it was. No SA_RESTART: a wait for input ends.
void CatchStopSignals()
{
#if defined(_WIN32)
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#else
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
#endif
}

// The first argument whose bytes are not UTF-8: Qt cannot name such a file, so it would be
// reported as missing.
const char* ArgumentNotUtf8(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString decoded = decoder.decode(QByteArrayView(argv[i]));
        if (decoder.hasError())
            return argv[i];
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    CatchStopSignals();
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // The configuration and the language files beside the program, as the window reads them.
    ProductConfig().StartUp();
    if (LanguageMgr().Current() == nullptr)
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));

    if (const char* argument = ArgumentNotUtf8(argc, argv)) {
        err << GetLangString(QStringLiteral("sCliNameNotUtf8"))
                   .replace(QStringLiteral("%s"), QString::fromUtf8(argument))
            << u'\n';
        return kExitInputUnusable;
    }
    KeepStoppedText(GetLangString(QStringLiteral("sCliStopped")));
    const TParsedCommandLine parsed = ParseCommandLine(application.arguments());
    switch (parsed.Action) {
    case TParsedCommandLine::TAction::Help: out << UsageText(); return kExitDone;
    case TParsedCommandLine::TAction::Version:
        out << "tavlo-split " << TAVLO_PRODUCT_VERSION << u'\n';
        return kExitDone;
    case TParsedCommandLine::TAction::Usage: err << parsed.Message << u'\n'; return kExitUsage;
    case TParsedCommandLine::TAction::Split: break;
    }
    const int code = RunSplitCommand(parsed.Options, out, err, stop);
    // A stop by a signal answers as a shell does for a command the signal ended.
    return code == kExitStopped && stop.Signal.load() != 0 ? 128 + stop.Signal.load() : code;
}
