#include "shell/FormatText.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatTextTest, FillsMarkersInOrderAndLeavesEverythingElse)
{
    const struct
    {
        const char* format;
        QStringList values;
        const char* expected;
    } cases[] = {
        {"File \"%s\" not found.", {QStringLiteral("a.pdf")}, "File \"a.pdf\" not found."},
        {"At most %d files.", {QStringLiteral("200")}, "At most 200 files."},
        {"%s of %s", {QStringLiteral("3"), QStringLiteral("9")}, "3 of 9"},
        {"100%% done", {}, "100% done"},
        // A value is never read as a format: its own markers stay.
        {"%s and %s", {QStringLiteral("%s"), QStringLiteral("x")}, "%s and x"},
        // Markers without a value, and a lone percent sign at the end, stay as written.
        {"%s-%s", {QStringLiteral("a")}, "a-%s"},
        {"50%", {QStringLiteral("unused")}, "50%"},
        {"%x %s", {QStringLiteral("v")}, "%x v"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(QString::fromUtf8(c.format), c.values), QString::fromUtf8(c.expected)) << c.format;
}

} // namespace
