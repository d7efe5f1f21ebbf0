#pragma once

#include <QString>

// Where the program keeps what it writes: its settings and its run log. A program folder that
// the user can write (the build folder, a portable copy) keeps them beside the executable;
// an installed one (/usr, /opt, a read-only image) sends them to the user's own folders.
struct TDataFolders
{
    // True when the program's folder is not writable and the user's folders are used.
    bool PerUser = false;
    // The "Config.ini" read at start-up and written at exit.
    QString ConfigFile;
    // The folder of "log.txt", ending with a separator.
    QString LogFolder;
};

// What the choice looks at, read from the process once.
struct TDataFolderFacts
{
    // The program's folder, ending with a separator.
    QString ProgramFolder;
    bool ProgramFolderWritable = false;
    QString Home;
    // The user's configuration folder as the desktop names it ($XDG_CONFIG_HOME or its default).
    QString ConfigHome;
    // $XDG_STATE_HOME as set; empty when unset.
    QString StateHomeVariable;
};

// The one rule that places the settings and the run log.
TDataFolders ChooseDataFolders(const TDataFolderFacts& facts);

// The facts of this process: the executable's folder, whether this user may write there, and
// the user's folders.
TDataFolderFacts ReadDataFolderFacts();

// Seeds the user's settings from the shipped "Config.ini" on a first start: kept once they
// exist, writable even where the shipped file is not. Nothing happens beside the program.
void SeedConfigFile(const TDataFolders& folders, const QString& shippedConfig);

// The folders of this process, chosen and seeded on the first call, which start-up makes.
const TDataFolders& DataFolders();
