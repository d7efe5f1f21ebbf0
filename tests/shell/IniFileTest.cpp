#include "shell/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Path() const { return dir.filePath(QStringLiteral("Config.ini")); }

    void Write(const char* text) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QString Text() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, ReadingAMissingFileGivesDefaultsAndNeverCreatesIt)
{
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("DefLanguage"), QStringLiteral("ENG")),
              QStringLiteral("ENG"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SYSTEM"), QStringLiteral("ProductID"), 417), 417);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("OUTPUT"), QStringLiteral("CustomPath"), true));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("SYSTEM")));
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(IniFileTest, MatchesSectionAndKeyNamesWithoutCase)
{
    Write("; comment\r\n[System]\r\nDefLanguage = deu \r\nproductid=0x1A1\r\n\r\n[url]\nHomePage=\"https://example.org/a b\"\n");
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("deflanguage"), QString()), QStringLiteral("deu"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SYSTEM"), QStringLiteral("ProductID"), 0), 0x1A1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("URL"), QStringLiteral("HomePage"), QString()),
              QStringLiteral("https://example.org/a b"));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("url"), QStringLiteral("HOMEPAGE")));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("SYSTEM")), (QStringList{QStringLiteral("DefLanguage"), QStringLiteral("productid")}));
}

TEST_F(IniFileTest, ReadsIntegersAndBooleansOrFallsBackToTheDefault)
{
    Write("[N]\nDec=42\nNeg=-7\nHex=0x10\nHexUpper=0XfF\nBad=12abc\nEmpty=\nOne=1\nZero=0\nTwo=2\nWord=yes\n");
    const TIniFile ini(Path());
    const QString n = QStringLiteral("N");
    const struct
    {
        const char* key;
        int expected;
    } ints[] = {{"Dec", 42}, {"Neg", -7}, {"Hex", 16}, {"HexUpper", 255}, {"Bad", 99}, {"Empty", 99}, {"Missing", 99}};
    for (const auto& c : ints)
        EXPECT_EQ(ini.ReadInteger(n, QString::fromLatin1(c.key), 99), c.expected) << c.key;
    EXPECT_TRUE(ini.ReadBool(n, QStringLiteral("One"), false));
    EXPECT_FALSE(ini.ReadBool(n, QStringLiteral("Zero"), true));
    EXPECT_TRUE(ini.ReadBool(n, QStringLiteral("Two"), false));
    EXPECT_TRUE(ini.ReadBool(n, QStringLiteral("Word"), true));
    EXPECT_FALSE(ini.ReadBool(n, QStringLiteral("Word"), false));
}

TEST_F(IniFileTest, WritesUpdateTheFileAtOnceAndKeepEverythingElse)
{
    Write("; keep me\n[SYSTEM]\nDefLanguage=ENG\nFirstStart=0\n\n[OTHER]\nInitDir=/tmp\n");
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("system"), QStringLiteral("FIRSTSTART"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("SYSTEM"), QStringLiteral("DefSkinDir"), QStringLiteral("English"));
    ini.WriteBool(QStringLiteral("OUTPUT"), QStringLiteral("CustomPath"), false);
    ini.WriteInteger(QStringLiteral("OTHER"), QStringLiteral("Count"), -3);

    const TIniFile reader(Path());
    EXPECT_EQ(reader.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("FirstStart"), QString()), QStringLiteral("1"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("DefSkinDir"), QString()), QStringLiteral("English"));
    EXPECT_FALSE(reader.ReadBool(QStringLiteral("OUTPUT"), QStringLiteral("CustomPath"), true));
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("OTHER"), QStringLiteral("Count"), 0), -3);
    EXPECT_EQ(reader.ReadString(QStringLiteral("OTHER"), QStringLiteral("InitDir"), QString()), QStringLiteral("/tmp"));
    EXPECT_EQ(Text(), QStringLiteral("; keep me\r\n[SYSTEM]\r\nDefLanguage=ENG\r\nFIRSTSTART=1\r\nDefSkinDir=English\r\n\r\n"
                                     "[OTHER]\r\nInitDir=/tmp\r\nCount=-3\r\n\r\n[OUTPUT]\r\nCustomPath=0\r\n"));
}

TEST_F(IniFileTest, AWriteThatCannotBeSavedThrowsAndLeavesTheFile)
{
    TIniFile ini(dir.filePath(QStringLiteral("missing-folder/Config.ini")));
    EXPECT_THROW(ini.WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")), IniFileError);
}

} // namespace
