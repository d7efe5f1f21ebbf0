#include "shell/CustomizationValues.h"
#include "shell/PathUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CustomizationTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString WriteFile(const char* xml)
    {
        const QString path = dir.filePath(QStringLiteral("Customization.xml"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml);
        return path;
    }

    QTemporaryDir dir;
    TCustomization customization;
};

const char* const kSample = R"(<?xml version="1.0" encoding="utf-8"?>
<Customization>
  <Value key="CBSJumpType">jump</Value>
  <Value key="CustomizeType">DR</Value>
  <Value key="EnableAD">1</Value>
  <Value key="EnableUpdate">true</Value>
  <Value key="TipsEnable">1 </Value>
  <Value key="EnableProductSuit">1</Value>
  <Value key="HomePage">https://example.org/</Value>
  <Value key="HomePage" lang="DEU">https://example.org/de/</Value>
  <Value key="HelpOnlinePage" lang="ENG">https://example.org/help</Value>
  <Value key="C3">https://example.org/more?a=1&amp;b=2</Value>
</Customization>
)";

TEST_F(CustomizationTest, WithoutTheFileEveryValueIsAbsent)
{
    customization.Load(ApplicationFolder(), dir.filePath(QStringLiteral("none.xml")), QStringLiteral("DEU"));
    const TCustomizationValues& v = customization.Values();
    EXPECT_EQ(v.CBSJumpType, 0);
    EXPECT_EQ(v.CustomizeType, 0);
    EXPECT_FALSE(v.EnableAD || v.EnableUpdate || v.TipsEnable || v.EnableProductSuit);
    EXPECT_TRUE(v.HomePage.isEmpty() && v.C3.isEmpty() && v.PID.isEmpty());
    EXPECT_EQ(customization.LanguageCode(), Customization::DEU);
}

TEST_F(CustomizationTest, DecodesValuesAndPrefersTheLanguagesOwn)
{
    const QString file = WriteFile(kSample);
    customization.Load(ApplicationFolder(), file, QStringLiteral("ENG"));
    const TCustomizationValues& v = customization.Values();
    EXPECT_EQ(v.CBSJumpType, 1);
    EXPECT_EQ(v.CustomizeType, 2);
    EXPECT_TRUE(v.EnableAD);
    EXPECT_FALSE(v.EnableUpdate);
    EXPECT_FALSE(v.TipsEnable);
    EXPECT_TRUE(v.EnableProductSuit);
    EXPECT_EQ(v.HomePage, QStringLiteral("https://example.org/"));
    EXPECT_EQ(v.HelpOnlinePage, QStringLiteral("https://example.org/help"));
    EXPECT_EQ(v.C3, QStringLiteral("https://example.org/more?a=1&b=2"));
    EXPECT_EQ(customization.ReadCount(), 1);

    customization.Load(ApplicationFolder(), file, QStringLiteral("deu"));
    EXPECT_EQ(customization.LanguageCode(), Customization::DEU);
    EXPECT_EQ(customization.Values().HomePage, QStringLiteral("https://example.org/de/"));
    EXPECT_TRUE(customization.Values().HelpOnlinePage.isEmpty());
    EXPECT_EQ(customization.ReadCount(), 2);
}

TEST_F(CustomizationTest, AnUnknownLanguageKeepsEnglish)
{
    customization.Load(ApplicationFolder(), WriteFile(kSample), QStringLiteral("XYZ"));
    EXPECT_EQ(customization.LanguageCode(), Customization::ENG);
    EXPECT_EQ(customization.Values().HelpOnlinePage, QStringLiteral("https://example.org/help"));
    EXPECT_EQ(customization.ReadCount(), 1);
}

TEST_F(CustomizationTest, WithoutTheModuleEveryValueIsAbsent)
{
    customization.Load(dir.path() + QStringLiteral("/"), WriteFile(kSample), QStringLiteral("ENG"));
    EXPECT_TRUE(customization.Values().HomePage.isEmpty());
    EXPECT_FALSE(customization.OpenURL(QStringLiteral("https://example.org/")));
}

TEST_F(CustomizationTest, LongValuesAreCutToTheBuffer)
{
    const QByteArray xml = "<Customization><Value key=\"PID\">" + QByteArray(3000, 'x') + "</Value></Customization>";
    customization.Load(ApplicationFolder(), WriteFile(xml.constData()), QStringLiteral("ENG"));
    EXPECT_EQ(customization.Values().PID, QString(1023, u'x'));
}

} // namespace
