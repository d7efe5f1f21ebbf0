#include "shell/HelpPage.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/ShellOpen.h"

#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

TEST(HelpPageTest, TheConfiguredAddressElseThePageBesideTheLanguageElseNone)
{
    const struct
    {
        const char* configured;
        const char* language; // nullptr: no language file loaded
        const char* expected; // relative to the program's folder unless it has a scheme
    } cases[] = {
        {"https://example.org/help", "DEU", "https://example.org/help"},
        {"", "DEU", "Languages/German.html#password"},
        {"  ", "ENG", "Languages/English.html#password"},
        {"", nullptr, ""},
    };
    const QString configuredBefore = ProductConfig().HelpPage;
    QList<QUrl> opened;
    SetUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    const auto restore = qScopeGuard([&configuredBefore] {
        SetUrlOpener({});
        ProductConfig().HelpPage = configuredBefore;
        LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none"));
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.configured) + " / " + (c.language ? c.language : "none"));
        ProductConfig().HelpPage = QString::fromUtf8(c.configured);
        LanguageMgr().LoadLanguages(QString::fromLatin1(c.language ? "Languages/*.dat"
                                                                   : "Languages/*.none"));
        if (c.language) {
            ASSERT_TRUE(LanguageMgr().SelectLanguage(QString::fromLatin1(c.language)));
        }
        QString expected = QString::fromUtf8(c.expected);
        if (!expected.isEmpty() && !expected.contains(u':'))
            expected = QUrl::fromLocalFile(ApplicationFolder()).toString() + expected;
        opened.clear();
        EXPECT_EQ(HelpPageAddress(QStringLiteral("password")).toString(), expected);
        EXPECT_EQ(OpenHelpPage(QStringLiteral("password")), !expected.isEmpty());
        EXPECT_EQ(opened.size(), expected.isEmpty() ? 0 : 1);
    }
}

} // namespace
