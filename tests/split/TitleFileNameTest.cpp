#include "split/TitleFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(TitleFileNameTest, HostileTitlesBecomeNamesEveryFileSystemTakes)
{
    const QString longWord = QString(150, u'é'); // 300 bytes of UTF-8
    const QString emoji = QString::fromUtf8("\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB"); // woman technologist
    struct Case
    {
        QString title;
        QString stem;
    };
    const Case cases[] = {
        {QStringLiteral("Introduction"), QStringLiteral("Introduction")},
        {QStringLiteral("Chapter 1: Input/Output"), QStringLiteral("Chapter 1_ Input_Output")},
        {QStringLiteral("a\\b*c?d\"e<f>g|h"), QStringLiteral("a_b_c_d_e_f_g_h")},
        {QStringLiteral("  Line\none\r\n\ttwo  "), QStringLiteral("Line one two")},
        {QStringLiteral("...Hidden..."), QStringLiteral("Hidden")},
        {QStringLiteral(". . ."), QString()},
        {QString(), QString()},
        {QStringLiteral("../../etc/passwd"), QStringLiteral("_.._etc_passwd")},
        {QStringLiteral("CON"), QStringLiteral("CON_")},
        {QStringLiteral("com1.txt"), QStringLiteral("com1.txt_")},
        {QStringLiteral("Lpt9 "), QStringLiteral("Lpt9_")},
        {QStringLiteral("Console"), QStringLiteral("Console")},
        {QStringLiteral("COM10"), QStringLiteral("COM10")},
        {QStringLiteral("\u200fRight\u200e"), QStringLiteral("Right")},
        // Cut at 200 bytes between two characters, never inside one.
        {longWord, QString(100, u'é')},
        {QStringLiteral("x") + QString(100, u'é'), QStringLiteral("x") + QString(99, u'é')},
        {emoji + QStringLiteral(" Ideas"), emoji + QStringLiteral(" Ideas")},
        {QString(49, u'a') + emoji.repeated(20), QString(49, u'a') + emoji.repeated(13)},
        // One form of the same letters, so that equal titles clash.
        {QStringLiteral("Cafe\u0301"), QStringLiteral("Caf\u00e9")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const QString stem = FileStemFromTitle(c.title);
        EXPECT_EQ(stem, c.stem);
        EXPECT_LE(stem.toUtf8().size(), kMaxTitleStemBytes);
    }
}

TEST(TitleFileNameTest, ClashesWithoutRegardToCaseGetANumber)
{
    TTitleStems stems;
    EXPECT_EQ(stems.Take(QStringLiteral("Index")), QStringLiteral("Index"));
    EXPECT_EQ(stems.Take(QStringLiteral("INDEX")), QStringLiteral("INDEX (2)"));
    EXPECT_EQ(stems.Take(QStringLiteral("Index (2)")), QStringLiteral("Index (2) (2)"));
    EXPECT_EQ(stems.Take(QStringLiteral("index")), QStringLiteral("index (3)"));
    EXPECT_EQ(stems.Take(QStringLiteral("Émile")), QStringLiteral("Émile"));
    EXPECT_EQ(stems.Take(QStringLiteral("éMILE")), QStringLiteral("éMILE (2)"));
}

} // namespace
