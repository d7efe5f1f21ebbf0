#include "SplitCommand.h"
#include "SplitOptions.h"

#include "TavloVersion.h"

#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QCoreApplication>
#include <QTextStream>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> stopRequested{false};

void OnInterrupt(int /*signal*/)
{
    stopRequested.store(true);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // The configuration and the language files beside the program, as the window reads them.
    ProductConfig().StartUp();
    if (LanguageMgr().Current() == nullptr)
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));

    const TParsedCommandLine parsed = ParseCommandLine(application.arguments());
    switch (parsed.Action) {
    case TParsedCommandLine::TAction::Help: out << UsageText(); return kExitDone;
    case TParsedCommandLine::TAction::Version:
        out << "tavlo-split " << TAVLO_PRODUCT_VERSION << u'\n';
        return kExitDone;
    case TParsedCommandLine::TAction::Usage: err << parsed.Message << u'\n'; return kExitUsage;
    case TParsedCommandLine::TAction::Split: break;
    }
    std::signal(SIGINT, OnInterrupt);
    return RunSplitCommand(parsed.Options, out, err, stopRequested);
}
