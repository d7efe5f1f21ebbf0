#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Numbers and page strings are checked later, against the
// document, with the language file's messages.
struct TSplitOptions
{
    enum class TMethodKind
    {
        Every,
        Bookmarks,
        Range,
        Custom,
        Parts
    };

    QStringList Inputs; // split one after another, each with these options
    TMethodKind Method = TMethodKind::Every;
    QString MethodValue; // N, LEVEL or RANGES as given
    bool HigherLevels = false;
    bool BothPages = false;
    bool Others = false;
    QList<QPair<QString, QString>> Custom; // NAME, RANGES in order
    QString OutFolder;
    std::optional<QString> Password;
    bool DryRun = false;
    bool Json = false;        // the dry run's plan as JSON
    int TitleNaming = 0;      // a TTitleNaming: how bookmark outputs are named
    bool Quiet = false;
    bool KeepNavigation = true; // bookmarks and links in every output
    QString Jobs;               // N as given; empty: automatic
};

struct TParsedCommandLine
{
    enum class TAction
    {
        Split,
        Help,
        Version,
        Usage // bad usage: Message says why
    };
    TAction Action = TAction::Usage;
    QString Message;
    TSplitOptions Options;
};

TParsedCommandLine ParseCommandLine(const QStringList& arguments);

// The --help text.
QString UsageText();
