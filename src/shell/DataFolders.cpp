#include "shell/DataFolders.h"

#include "shell/PathUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kProductFolder = QStringLiteral("tavlo");

// The base directory specification ignores a relative value; so does the program, which would
// otherwise write wherever it happened to be started.
QString StateHome(const TDataFolderFacts& facts)
{
    if (QDir::isAbsolutePath(facts.StateHomeVariable))
        return facts.StateHomeVariable;
    return facts.Home + QStringLiteral("/.local/state");
}

QString Joined(const QString& folder, const QString& name)
{
    return WithTrailingBackslash(folder) + name;
}

} // namespace

TDataFolders ChooseDataFolders(const TDataFolderFacts& facts)
{
    TDataFolders folders;
    if (facts.ProgramFolderWritable) {
        folders.ConfigFile = Joined(facts.ProgramFolder, QStringLiteral("Config.ini"));
        folders.LogFolder =
            WithTrailingBackslash(Joined(facts.ProgramFolder, QStringLiteral("log")));
        return folders;
    }
    folders.PerUser = true;
    folders.ConfigFile =
        Joined(Joined(facts.ConfigHome, kProductFolder), QStringLiteral("Config.ini"));
    folders.LogFolder = WithTrailingBackslash(
        Joined(Joined(StateHome(facts), kProductFolder), QStringLiteral("log")));
    return folders;
}

TDataFolderFacts ReadDataFolderFacts()
{
    TDataFolderFacts facts;
    facts.ProgramFolder = ApplicationFolder();
    // access(2) underneath: it knows the user's rights, access lists and read-only mounts.
    facts.ProgramFolderWritable = QFileInfo(facts.ProgramFolder).isWritable();
    facts.Home = QDir::homePath();
    facts.ConfigHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Qt 6.4 names no state folder; the variable is read as the specification says.
    facts.StateHomeVariable = qEnvironmentVariable("XDG_STATE_HOME");
    return facts;
}

void SeedConfigFile(const TDataFolders& folders, const QString& shippedConfig)
{
    const QString& target = folders.ConfigFile;
    if (!folders.PerUser || QFileInfo::exists(target) || !QFileInfo(shippedConfig).isFile())
        return;
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(shippedConfig, target))
        return;
    // The copy takes the shipped file's permissions, which a read-only image leaves without
    // the write bit; the settings are written back at exit.
    QFile::setPermissions(target,
                          QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
}

const TDataFolders& DataFolders()
{
    static const TDataFolders folders = [] {
        const TDataFolders chosen = ChooseDataFolders(ReadDataFolderFacts());
        SeedConfigFile(chosen, ApplicationFolder() + QStringLiteral("Config.ini"));
        return chosen;
    }();
    return folders;
}
