#include "shell/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ChooseDataFolders, BesideAWritableProgramElseInTheUsersFolders)
{
    const QString program = QStringLiteral("/opt/tavlo/");
    const QString home = QStringLiteral("/home/ann");
    const QString config = QStringLiteral("/home/ann/.config");
    const struct
    {
        const char* why;
        bool writable;
        QString stateVariable;
        TDataFolders expected;
    } cases[] = {
        {"a writable program folder keeps everything beside the executable",
         true,
         QStringLiteral("/var/state"),
         {false, QStringLiteral("/opt/tavlo/Config.ini"), QStringLiteral("/opt/tavlo/log/")}},
        {"an installed program uses the user's folders",
         false,
         QStringLiteral("/var/state"),
         {true, QStringLiteral("/home/ann/.config/tavlo/Config.ini"),
          QStringLiteral("/var/state/tavlo/log/")}},
        {"no state variable: its default under the home folder",
         false,
         QString(),
         {true, QStringLiteral("/home/ann/.config/tavlo/Config.ini"),
          QStringLiteral("/home/ann/.local/state/tavlo/log/")}},
        {"a relative state variable is ignored",
         false,
         QStringLiteral("state"),
         {true, QStringLiteral("/home/ann/.config/tavlo/Config.ini"),
          QStringLiteral("/home/ann/.local/state/tavlo/log/")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const TDataFolders folders =
            ChooseDataFolders({program, c.writable, home, config, c.stateVariable});
        EXPECT_EQ(folders.PerUser, c.expected.PerUser);
        EXPECT_EQ(folders.ConfigFile, c.expected.ConfigFile);
        EXPECT_EQ(folders.LogFolder, c.expected.LogFolder);
    }
}

class SeedConfigFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        WriteFile(Shipped(), "[SYSTEM]\nDefLanguage=DEU\n");
        // As on a read-only image.
        QFile::setPermissions(Shipped(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    QString Shipped() const { return dir.filePath(QStringLiteral("program/Config.ini")); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    static void WriteFile(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TDataFolders PerUser() const
    {
        return {true, Path("config/tavlo/Config.ini"), Path("state/tavlo/log/")};
    }

    QTemporaryDir dir;
};

TEST_F(SeedConfigFileTest, AFirstStartCopiesTheShippedSettingsWritable)
{
    SeedConfigFile(PerUser(), Shipped());

    EXPECT_EQ(Read(PerUser().ConfigFile), Read(Shipped()));
    EXPECT_TRUE(QFileInfo(PerUser().ConfigFile).permissions().testFlag(QFile::WriteOwner));
}

TEST_F(SeedConfigFileTest, SettingsOfTheUserAreKept)
{
    WriteFile(PerUser().ConfigFile, "[SYSTEM]\nDefLanguage=ENG\n");

    SeedConfigFile(PerUser(), Shipped());

    EXPECT_EQ(Read(PerUser().ConfigFile), QByteArray("[SYSTEM]\nDefLanguage=ENG\n"));
}

TEST_F(SeedConfigFileTest, BesideTheProgramNothingIsCopied)
{
    const TDataFolders beside{false, Path("program/Settings.ini"), Path("program/log/")};

    SeedConfigFile(beside, Shipped());

    EXPECT_FALSE(QFileInfo::exists(beside.ConfigFile));
}

} // namespace
