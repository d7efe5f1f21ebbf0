#include "shell/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(WithTrailingBackslash, AddsTheNativeSeparatorOnlyWhereMissing)
{
    const QString sep = QDir::separator();
    const struct
    {
        QString path;
        QString expected;
    } cases[] = {
        {QStringLiteral("/tmp/out"), QStringLiteral("/tmp/out") + sep},
        {QStringLiteral("/tmp/out/"), QStringLiteral("/tmp/out/")},
        {QStringLiteral("C:\\out\\"), QStringLiteral("C:\\out\\")},
        {QStringLiteral("C:\\out/"), QStringLiteral("C:\\out/")},
        {QStringLiteral("/"), QStringLiteral("/")},
        {QString(), QString()},
        // Blanks at the ends belong to the name: trimming them names another folder.
        {QStringLiteral("/tmp/report "), QStringLiteral("/tmp/report ") + sep},
        {QStringLiteral("/tmp/end\t"), QStringLiteral("/tmp/end\t") + sep},
        {QStringLiteral("/tmp/nbsp\u00A0"), QStringLiteral("/tmp/nbsp\u00A0") + sep},
        {QStringLiteral("/tmp/My Docs /"), QStringLiteral("/tmp/My Docs /")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithTrailingBackslash(c.path), c.expected) << c.path.toStdString();
}

TEST(ApplicationFolder, IsTheExecutablesFolderWithSeparator)
{
    const QString folder = ApplicationFolder();
    EXPECT_TRUE(folder.endsWith(QDir::separator()));
    EXPECT_EQ(QDir(folder).canonicalPath(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

TEST(MyDocumentsFolder, FollowsTheDesktopSettingAndEndsWithSeparator)
{
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = MyDocumentsFolder();
    if (expected.isEmpty()) {
        EXPECT_TRUE(folder.isEmpty());
        return;
    }
    EXPECT_EQ(folder, WithTrailingBackslash(expected));
}

struct RootCase
{
    const char* path;
    const char* root;
};

TEST(PathRoot, FindsDriveShareAndUnixRoots)
{
    const RootCase cases[] = {
        {"/home/user", "/"},
        {"/", "/"},
        {"C:\\out", "C:\\"},
        {"c:/out", "c:/"},
        {"\\\\server\\share\\dir", "\\\\server\\share"},
        {"//server/share", "//server/share"},
        {"//server", ""},
        {"relative/dir", ""},
        {"C:out", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathRoot(QString::fromUtf8(c.path)), QString::fromUtf8(c.root)) << c.path;
}

TEST(IsValidFolderPath, NeedsAnExistingRootAndNoForbiddenCharacters)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString base = dir.path();
    struct Case
    {
        QString path;
        bool valid;
    };
    const Case cases[] = {
        {base + QStringLiteral("/a b"), true},
        {base + QStringLiteral("/not/yet/created"), true},
        {QStringLiteral("/"), true},
        {base + QStringLiteral("/a?b"), false},
        {base + QStringLiteral("/a*b"), false},
        {base + QStringLiteral("/a:b"), false},
        {base + QStringLiteral("/a<b"), false},
        {base + QStringLiteral("/a>b"), false},
        {base + QStringLiteral("/a|b"), false},
        {base + QStringLiteral("/a\"b"), false},
        {QStringLiteral("relative/out"), false},
        {QStringLiteral("."), false},
        {QString(), false},
        {QStringLiteral("   "), false},
        // A Windows drive does not exist here.
        {QStringLiteral("C:/out"), false},
        {QStringLiteral("C:\\out"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidFolderPath(c.path), c.valid) << c.path.toStdString();
}

} // namespace
