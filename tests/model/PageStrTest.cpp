#include "model/PageStr.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QList<int> PagesFromTo(int first, int last)
{
    QList<int> pages;
    for (int page = first; page <= last; ++page)
        pages.append(page);
    return pages;
}

bool StrictlyAscendingWithin(const QList<int>& pages, int pageCount)
{
    int previous = 0;
    for (const int page : pages) {
        if (page <= previous || page > pageCount)
            return false;
        previous = page;
    }
    return true;
}

struct Row
{
    QString text;
    QList<int> pages;
    bool valid;
};

TEST(PageStrTest, TenPageDocument)
{
    const QList<Row> rows = {
        {u"1,3,5,7-10"_s, {1, 3, 5, 7, 8, 9, 10}, true},
        {u"7-10"_s, {7, 8, 9, 10}, true},
        {u"5"_s, {5}, true},
        {u" 2 , 4 "_s, {2, 4}, true},
        {u"1,3-5"_s, {1, 3, 4, 5}, true},
        {u"1-3,4-6"_s, {1, 2, 3, 4, 5, 6}, true},
        {u"1-3-5"_s, {1, 2, 3, 4, 5}, false},
        {u"5,3"_s, {5, 3}, false},
        {u"3-3"_s, {3}, false},
        {u"5-3"_s, {3}, false},
        {u"1,2,2"_s, {1, 2, 2}, false},
        {u"1-3,2"_s, {1, 2, 3, 2}, false},
        {u"1,,3"_s, {1, -1, 3}, false},
        {u""_s, {-1}, false},
        {u"0"_s, {0}, false},
        {u"11"_s, {11}, false},
        {u"1-"_s, {-1}, false},
        {u"-3"_s, {-1, 0, 1, 2, 3}, false},
        {u"2-4-"_s, {2, 3, -1}, false},
        {u"a"_s, {-1}, false},
        {u"All"_s, PagesFromTo(1, 10), false},
        {u"all"_s, PagesFromTo(1, 10), false},
        {u"aLL"_s, PagesFromTo(1, 10), false},
        // Further edges.
        {u"   "_s, {-1}, false},
        {u" All"_s, {-1}, false},
        {u"10"_s, {10}, true},
        {u"1-10"_s, PagesFromTo(1, 10), true},
        {u"1-2,3-4-5"_s, {1, 2, 3, 4, 5}, false},
        {u"1,2-"_s, {1, -1}, false},
        {u",1"_s, {-1, 1}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(ExpandPageStr(row.text, 10, u"All"), row.pages);
        EXPECT_EQ(ValidatePageStr(row.text, 10), row.valid);
    }
}

TEST(PageStrTest, AllPagesWord)
{
    EXPECT_TRUE(ExpandPageStr(u"All", 0, u"All").isEmpty());
    EXPECT_TRUE(ExpandPageStr(u"All", -1, u"All").isEmpty());
    // Without a word from the language resources the empty string selects every page.
    EXPECT_EQ(ExpandPageStr(u"", 3, u""), PagesFromTo(1, 3));
    EXPECT_EQ(ExpandPageStr(u"All", 3, u""), QList<int>{-1});
    EXPECT_EQ(ExpandPageStr(u"TOUT", 2, u"tout"), PagesFromTo(1, 2));
    // Only A-Z are folded.
    EXPECT_EQ(ExpandPageStr(u"\u00C4LLE", 2, u"\u00E4lle"), QList<int>{-1});
}

TEST(PageStrTest, NoSelectionWithoutPages)
{
    for (const int pageCount : {0, -1}) {
        EXPECT_FALSE(ValidatePageStr(u"1", pageCount));
        EXPECT_FALSE(ValidatePageStr(u"All", pageCount));
    }
    EXPECT_FALSE(ValidatePageStr(u"ALL", 1000));
}

TEST(PageStrTest, ItemConversion)
{
    const QList<std::pair<QString, int>> items = {
        {u"+5"_s, 5},
        {u"007"_s, 7},
        {u"0000000000000000000012"_s, 12},
        {u"2147483647"_s, 2147483647},
        {u"2147483648"_s, -1},
        {u"99999999999999999999"_s, -1},
        {u"1 2"_s, -1},
        {u"0x10"_s, -1},
        {u"$10"_s, -1},
        {u"+"_s, -1},
        {u"++5"_s, -1},
        {u"+ 5"_s, -1},
        {u"5."_s, -1},
        {u"\t7\r\n"_s, 7},
        {QString(u'\0') + u"8\u001F"_s, 8},
        {u"\u00A09"_s, -1},   // no-break space is not trimmed
        {u"\u0663"_s, -1},    // Arabic-Indic digit three
        {u"\uFF15"_s, -1},    // fullwidth digit five
    };
    for (const auto& [item, value] : items) {
        SCOPED_TRACE(item.toStdString());
        EXPECT_EQ(ExpandPageStr(item, 10, u"All"), QList<int>{value});
    }
    EXPECT_TRUE(ValidatePageStr(u" +3 -\t005\n", 5));
}

TEST(PageStrTest, ExpansionIsBounded)
{
    const QList<int> huge = ExpandPageStr(u"1-2147483647", 10, u"All");
    EXPECT_EQ(huge, PagesFromTo(1, kMaxExpandedPages));

    const QList<int> afterPage = ExpandPageStr(u"3,1-2147483647", 10, u"All");
    ASSERT_EQ(afterPage.size(), kMaxExpandedPages);
    EXPECT_EQ(afterPage.front(), 3);
    EXPECT_EQ(afterPage.back(), kMaxExpandedPages - 1);

    const QString megabyte = u"1-99999999,"_s.repeated(1024 * 1024 / 11);
    EXPECT_EQ(ExpandPageStr(megabyte, 10, u"All").size(), kMaxExpandedPages);

    const QString manySingles = u"1,"_s.repeated(kMaxExpandedPages + 10);
    EXPECT_EQ(ExpandPageStr(manySingles, 10, u"All").size(), kMaxExpandedPages);

    EXPECT_EQ(ExpandPageStr(u"2147483647-2147483647", 10, u"All"), QList<int>{2147483647});
}

TEST(PageStrTest, DocumentLargerThanBoundKeepsEveryPage)
{
    const int pageCount = kMaxExpandedPages + 5;
    const QString wholeRange = u"1-"_s + QString::number(pageCount);
    EXPECT_EQ(ExpandPageStr(u"all", pageCount, u"All"), PagesFromTo(1, pageCount));
    EXPECT_EQ(ExpandPageStr(wholeRange, pageCount, u"All"), PagesFromTo(1, pageCount));
    EXPECT_TRUE(ValidatePageStr(wholeRange, pageCount));
    EXPECT_EQ(ExpandPageStr(u"1-2147483647", pageCount, u"All").size(), pageCount);
}

TEST(PageStrTest, PageListTexts)
{
    EXPECT_EQ(PageListTexts(ExpandPageStr(u"007,,2-3", 10, u"All")),
              (QStringList{u"7"_s, u"-1"_s, u"2"_s, u"3"_s}));
}

// Whatever the validator accepts expands to pages that exist, each once, in ascending order:
// the planner relies on that. And PageStrOf gives it back as a selection of the same pages.
TEST(PageStrTest, ValidSelectionsExpandToAscendingPages)
{
    std::mt19937 random(20240611);
    const QString alphabet = u"0123456789123,,,---  +\ta"_s;
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> pageCount(-1, 40);
    int validCount = 0;
    for (int round = 0; round < 200000; ++round) {
        QString text;
        for (int n = length(random); n > 0; --n)
            text.append(alphabet[pick(random)]);
        const int pages = pageCount(random);
        if (!ValidatePageStr(text, pages))
            continue;
        ++validCount;
        SCOPED_TRACE(text.toStdString());
        const QList<int> expanded = ExpandPageStr(text, pages, u"All");
        ASSERT_TRUE(StrictlyAscendingWithin(expanded, pages));
        // Written back compactly, the selection reads the same.
        const QString compact = PageStrOf(expanded);
        ASSERT_TRUE(ValidatePageStr(compact, pages)) << compact.toStdString();
        ASSERT_EQ(ExpandPageStr(compact, pages, u"All"), expanded) << compact.toStdString();
    }
    EXPECT_GT(validCount, 1000);
}

} // namespace
