#include "shell/FileSizeText.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileSizeTextTest : public ::testing::Test
{
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(FileSizeTextTest, ChoosesTheUnitAtEachBoundary)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct
    {
        qint64 bytes;
        const char* text;
    } cases[] = {
        {0, "0  KB"},
        {1, "1  KB"},
        {1024, "1  KB"},
        {1025, "2  KB"},
        {1048575, "1024  KB"},
        {1048576, "1.00  MB"},
        {1572864, "1.50  MB"},
        {1073741823, "1024.00  MB"},
        {1073741824, "1.00  GB"},
        {5368709120, "5.00  GB"},
        {2199023255552, "2048.00  GB"},
        {-5, "0  KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.bytes), QString::fromUtf8(c.text)) << c.bytes;
}

TEST_F(FileSizeTextTest, UsesTheUsersDecimalSeparatorWithoutGrouping)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SizeText(1048576), QStringLiteral("1,00  MB"));
    EXPECT_EQ(SizeText(1073741823), QStringLiteral("1024,00  MB"));
    EXPECT_EQ(SizeText(1073741824), QStringLiteral("1,00  GB"));
}

TEST_F(FileSizeTextTest, ReadsTheFileAndTreatsMissingOnesAsEmpty)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("one.pdf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1500, 'x'));
    file.close();
    EXPECT_EQ(FileSizeText(path), QStringLiteral("2  KB"));
    EXPECT_EQ(FileSizeText(dir.filePath(QStringLiteral("missing.pdf"))), QStringLiteral("0  KB"));
    EXPECT_EQ(FileSizeText(dir.path()), QStringLiteral("0  KB"));
}

} // namespace
