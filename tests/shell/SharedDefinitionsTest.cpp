#include "shell/DefineShare.h"
#include "shell/SameText.h"
#include "shell/VersionInfo.h"

#include "TavloVersion.h"

#include <QCoreApplication>
#include <QMetaEnum>
#include <gtest/gtest.h>

namespace {

TEST(SameText, FoldsOnlyAsciiLetters)
{
    const struct
    {
        QString a, b;
        bool same;
    } cases[] = {
        {QStringLiteral("All"), QStringLiteral("aLL"), true},
        {QStringLiteral("/Out/A.PDF"), QStringLiteral("/out/a.pdf"), true},
        {QString(), QString(), true},
        {QStringLiteral("All"), QStringLiteral("All "), false},
        {QStringLiteral("Größe"), QStringLiteral("GRÖSSE"), false},
        {QStringLiteral("Ä"), QStringLiteral("ä"), false},
        {QStringLiteral("@"), QStringLiteral("`"), false},
        {QStringLiteral("["), QStringLiteral("{"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a.toStdString() << " / " << c.b.toStdString();
}

TEST(OutputExtension, GivesTheCurrentFormatsAndNoneForFormatsWithoutOne)
{
    const QMetaEnum formats = QMetaEnum::fromType<TFileFormat>();
    ASSERT_EQ(formats.keyCount(), 13);
    EXPECT_STREQ(formats.valueToKey(ffPdf), "ffPdf");
    EXPECT_EQ(int(ffEpub), 12);

    const struct
    {
        TFileFormat format;
        const char* extension;
    } cases[] = {
        {ffWord, ".docx"}, {ffRTF, ".rtf"},   {ffXml, ".xml"},   {ffExcel, ".xlsx"},
        {ffPPT, ".pptx"},  {ffTiff, ".tiff"}, {ffPdf, ".pdf"},   {ffHtml, ".html"},
        {ffTxt, ".txt"},   {ffEpub, ".epub"}, {ffImage, nullptr}, {ffPWSRemove, nullptr},
        {ffTest, nullptr},
    };
    for (const auto& c : cases) {
        const auto ext = OutputExtension(c.format);
        if (c.extension)
            EXPECT_EQ(ext, QString::fromUtf8(c.extension)) << formats.valueToKey(c.format);
        else
            EXPECT_FALSE(ext.has_value()) << formats.valueToKey(c.format);
    }
}

TEST(VersionInfo, ReadsTheProgramsOwnVersionAndNothingElse)
{
    const QString self = QCoreApplication::applicationFilePath();
    EXPECT_EQ(ReadVersionString(self, QStringLiteral("FileVersion")), QStringLiteral(TAVLO_FILE_VERSION));
    EXPECT_EQ(ShortFileVersion(self), QStringLiteral(TAVLO_FILE_VERSION).left(5));
    EXPECT_EQ(ShortFileVersion(self).size(), 5);
    EXPECT_TRUE(ReadVersionString(self, QStringLiteral("NoSuchValue")).isEmpty());
    EXPECT_TRUE(ReadVersionString(QStringLiteral("/bin/sh"), QStringLiteral("FileVersion")).isEmpty());
    EXPECT_TRUE(ShortFileVersion(QStringLiteral("/no/such/file")).isEmpty());
}

} // namespace
