// The sample document made by the build: what a user tries the split methods on.

#include "shell/PathUtils.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

QString SamplePath()
{
    return ApplicationFolder() + QStringLiteral("Sample/Sample.pdf");
}

struct TFlatItem
{
    std::string title;
    int depth;
    int page; // 1-based; 0 when the destination names no page of the document
    double top;
    double pageHeight;
};

class SampleDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(SamplePath()).isFile()) << SamplePath().toStdString();
        FPdf.processFile(SamplePath().toLocal8Bit().constData());
        FPages = QPDFPageDocumentHelper(FPdf).getAllPages();
        for (std::size_t i = 0; i < FPages.size(); ++i)
            FPageNumbers[FPages[i].getObjectHandle().getObjGen()] = int(i) + 1;
    }

    std::string PageText(int page)
    {
        std::string text;
        Pl_String sink("page text", nullptr, text);
        FPages.at(std::size_t(page - 1)).pipeContents(&sink);
        return text;
    }

    std::vector<TFlatItem> Outline()
    {
        std::vector<TFlatItem> items;
        QPDFOutlineDocumentHelper helper(FPdf);
        Walk(helper.getTopLevelOutlines(), 1, items);
        return items;
    }

    QPDF FPdf;
    std::vector<QPDFPageObjectHelper> FPages;
    std::map<QPDFObjGen, int> FPageNumbers;

private:
    void Walk(std::vector<QPDFOutlineObjectHelper> level, int depth, std::vector<TFlatItem>& items)
    {
        for (QPDFOutlineObjectHelper& item : level) {
            QPDFObjectHandle dest = item.getDest();
            TFlatItem flat{item.getTitle(), depth, 0, -1, 0};
            if (dest.isArray() && dest.getArrayNItems() == 5 &&
                dest.getArrayItem(1).isNameAndEquals("/XYZ")) {
                const auto found = FPageNumbers.find(dest.getArrayItem(0).getObjGen());
                if (found != FPageNumbers.end()) {
                    flat.page = found->second;
                    flat.top = dest.getArrayItem(3).getNumericValue();
                    flat.pageHeight = FPages.at(std::size_t(flat.page - 1))
                                          .getMediaBox()
                                          .getArrayAsRectangle()
                                          .ury;
                }
            }
            items.push_back(flat);
            Walk(item.getKids(), depth + 1, items);
        }
    }
};

TEST_F(SampleDocumentTest, HasTwentyFourPagesEachSayingWhereItIs)
{
    ASSERT_EQ(FPages.size(), 24u);
    const struct
    {
        int page;
        const char* heading;
    } cases[] = {
        {1, "Chapter 1, Section 1, page 1"},   {4, "Chapter 1, Section 2, page 4"},
        {7, "Chapter 2, Section 1, page 7"},   {18, "Chapter 3, Section 2, page 18"},
        {24, "Chapter 4, Section 2, page 24"},
    };
    for (const auto& c : cases) {
        const std::string text = PageText(c.page);
        EXPECT_NE(text.find(std::string("(") + c.heading + ")"), std::string::npos) << c.page;
        EXPECT_NE(text.find("/F1"), std::string::npos) << c.page;
    }
    QPDFObjectHandle font =
        FPages[0].getObjectHandle().getKey("/Resources").getKey("/Font").getKey("/F1");
    EXPECT_EQ(font.getKey("/BaseFont").getName(), "/Helvetica");
}

TEST_F(SampleDocumentTest, OutlineHasThreeLevelsPointingIntoTheDocumentInPageOrder)
{
    const std::vector<TFlatItem> items = Outline();
    std::map<int, int> perDepth;
    int previousPage = 0;
    for (const TFlatItem& item : items) {
        SCOPED_TRACE(item.title);
        ++perDepth[item.depth];
        ASSERT_GE(item.page, 1) << "every item names a page of the document";
        EXPECT_GE(item.page, previousPage);
        previousPage = item.page;
        EXPECT_GT(item.top, 0);
        EXPECT_LE(item.top, item.pageHeight);
    }
    EXPECT_EQ(perDepth, (std::map<int, int>{{1, 4}, {2, 8}, {3, 24}}));
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front().title, "Chapter 1: Getting started");
}

TEST_F(SampleDocumentTest, SomeSubsectionsStartHalfWayDownAPage)
{
    int lowStarts = 0;
    for (const TFlatItem& item : Outline()) {
        if (item.page > 0 && item.top < item.pageHeight / 2 + 50) {
            ++lowStarts;
            EXPECT_EQ(item.depth, 3) << item.title;
            EXPECT_EQ(item.page % 3, 2) << item.title << ": the middle page of its section";
            EXPECT_NE(PageText(item.page).find("(" + item.title + ")"), std::string::npos)
                << "the heading is printed on that page";
        }
    }
    EXPECT_EQ(lowStarts, 8);
}

TEST_F(SampleDocumentTest, CarriesATitleAndAStableIdentifier)
{
    QPDFObjectHandle info = FPdf.getTrailer().getKey("/Info");
    ASSERT_TRUE(info.isDictionary());
    EXPECT_EQ(info.getKey("/Title").getUTF8Value(), "Sample document for splitting");
    EXPECT_FALSE(info.hasKey("/CreationDate")) << "a rebuild gives the same bytes";
    EXPECT_FALSE(info.hasKey("/ModDate"));
    EXPECT_TRUE(FPdf.getTrailer().getKey("/ID").isArray());
    EXPECT_EQ(FPdf.getRoot().getKey("/PageMode").getName(), "/UseOutlines");
}

} // namespace
