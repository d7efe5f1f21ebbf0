#include "shell/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

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

    QByteArray Bytes() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString Text() const { return QString::fromUtf8(Bytes()); }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, ReadingAMissingOrIrregularFileGivesDefaultsAndNeverCreatesOne)
{
    const QString missing = dir.filePath(QStringLiteral("missing.ini"));
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkdir(folder));
    QStringList paths{missing, folder};
#if defined(Q_OS_UNIX)
    // Opening a pipe for reading waits for a writer that never comes.
    const QString pipe = dir.filePath(QStringLiteral("pipe.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    paths.append(pipe);
#endif
    for (const QString& path : paths) {
        const TIniFile ini(path);
        EXPECT_EQ(ini.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("DefLanguage"), QStringLiteral("ENG")),
                  QStringLiteral("ENG"));
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("SYSTEM"), QStringLiteral("ProductID"), 417), 417);
        EXPECT_TRUE(ini.ReadBool(QStringLiteral("OUTPUT"), QStringLiteral("CustomPath"), true));
        EXPECT_FALSE(ini.SectionExists(QStringLiteral("SYSTEM")));
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_THROW(TIniFile(folder).WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")),
                 IniFileError);
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
    EXPECT_EQ(Text(), QStringLiteral("; keep me\n[SYSTEM]\nDefLanguage=ENG\nFirstStart=1\nDefSkinDir=English\n\n"
                                     "[OTHER]\nInitDir=/tmp\nCount=-3\n\n[OUTPUT]\nCustomPath=0\n"));
}

TEST_F(IniFileTest, LinesThatAreNotChangedKeepTheirBytes)
{
    // Brought over from elsewhere: a byte order mark, Latin-1 text, both kinds of line break
    // and none at the end.
    Write("\xEF\xBB\xBF; F\xFCr M\xFCller\r\n[OTHER]\r\nInitDir=C:\\M\xFCller\\\n"
          "BetaEmail=  x@example.org \r\n[SYSTEM]\r\nFirstStart=0");
    const QByteArray unchanged = Bytes().chopped(1);
    TIniFile ini(Path());
    const QString folder = QStringLiteral("C:\\M\u00FCller\\");
    EXPECT_EQ(ini.ReadString(QStringLiteral("OTHER"), QStringLiteral("InitDir"), QString()), folder);
    ini.WriteString(QStringLiteral("OTHER"), QStringLiteral("InitDir"), folder);
    ini.WriteString(QStringLiteral("OTHER"), QStringLiteral("BetaEmail"), QStringLiteral("x@example.org"));
    ini.WriteString(QStringLiteral("SYSTEM"), QStringLiteral("FirstStart"), QStringLiteral("1"));
    EXPECT_EQ(Bytes(), unchanged + '1');
}

TEST_F(IniFileTest, ValuesReadBackAsWrittenAndALineBreakIsRefused)
{
    const QString values[] = {
        QStringLiteral("/tmp/report "), QStringLiteral(" lead"), QStringLiteral("\"quoted\""),
        QStringLiteral("\""),           QStringLiteral("a=b"),   QStringLiteral("C:\\out\\"),
        QStringLiteral("Gr\u00F6\u00DFe"), QString(),           QStringLiteral("\"x\" "),
    };
    const QString other = QStringLiteral("OTHER");
    const QString initDir = QStringLiteral("InitDir");
    TIniFile ini(Path());
    for (const QString& value : values) {
        ini.WriteString(other, initDir, value);
        EXPECT_EQ(TIniFile(Path()).ReadString(other, initDir, QStringLiteral("default")), value)
            << value.toStdString();
    }
    // A folder name may hold line breaks; written as it is, it would add keys and sections.
    const QByteArray before = Bytes();
    for (const char* forged : {"x\n[URL]\nHelpPage=https://example.org/forged", "x\rHelpPage=y"})
        EXPECT_THROW(ini.WriteString(other, initDir, QString::fromLatin1(forged)), IniFileError) << forged;
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(TIniFile(Path()).SectionExists(QStringLiteral("URL")));
}

TEST_F(IniFileTest, ReadsComeFromOneParseAndAnUpdateSavesOnce)
{
    const QString system = QStringLiteral("SYSTEM");
    const QString language = QStringLiteral("DefLanguage");
    Write("[SYSTEM]\nDefLanguage=ENG\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(system, language, QString()), QStringLiteral("ENG"));
    Write("[SYSTEM]\nDefLanguage=DEU\n");
    EXPECT_EQ(ini.ReadString(system, language, QString()), QStringLiteral("ENG"));
    ini.Reload();
    EXPECT_EQ(ini.ReadString(system, language, QString()), QStringLiteral("DEU"));

    ini.Update([&] {
        ini.WriteString(system, QStringLiteral("FirstStart"), QStringLiteral("1"));
        ini.WriteString(system, QStringLiteral("DefSkinDir"), QStringLiteral("English"));
        EXPECT_EQ(Text(), QStringLiteral("[SYSTEM]\nDefLanguage=DEU\n"));
    });
    const QString saved = QStringLiteral("[SYSTEM]\nDefLanguage=DEU\nFirstStart=1\nDefSkinDir=English\n");
    EXPECT_EQ(Text(), saved);

    // One refused write undoes the whole update.
    EXPECT_THROW(ini.Update([&] {
        ini.WriteString(system, QStringLiteral("FirstStart"), QStringLiteral("0"));
        ini.WriteString(system, QStringLiteral("DefSkinDir"), QStringLiteral("a\nb"));
    }),
                 IniFileError);
    EXPECT_EQ(ini.ReadString(system, QStringLiteral("FirstStart"), QString()), QStringLiteral("1"));
    EXPECT_EQ(Text(), saved);
}

TEST_F(IniFileTest, AWriteThatCannotBeSavedThrowsAndLeavesTheFile)
{
    TIniFile ini(dir.filePath(QStringLiteral("missing-folder/Config.ini")));
    EXPECT_THROW(ini.WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")), IniFileError);
}

} // namespace
