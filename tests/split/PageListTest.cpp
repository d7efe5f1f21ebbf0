#include "engine/ComObject.h"
#include "model/PDFProj.h"
#include "split/PageList.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A document object that counts its Close calls.
class TCountingDoc final : public ComObject<IDocObject>
{
public:
    HRESULT ENGINE_CALL GetPageCount(std::int32_t* count) override { *count = -1; return S_OK; }
    HRESULT ENGINE_CALL Open(const char16_t*, std::int32_t, std::int32_t* result) override
    {
        *result = 1;
        return S_OK;
    }
    HRESULT ENGINE_CALL Close() override { ++closes; return S_OK; }
    HRESULT ENGINE_CALL Control(std::int32_t, std::intptr_t) override { return S_OK; }
    int closes = 0;
};

struct TEntrySpec
{
    const char* in;
    const char* out;
    int outIndex = 0;
};

void Fill(TPageList& list, const std::vector<TEntrySpec>& entries, TFileInfo* document = nullptr)
{
    int page = 1;
    for (const TEntrySpec& spec : entries) {
        TConvPageInfo* entry = list.NewItem();
        entry->InPage()->SetFileName(QString::fromUtf8(spec.in));
        entry->InPage()->SetPageValue(page);
        entry->OutPage()->SetFileName(QString::fromUtf8(spec.out));
        entry->OutPage()->SetPageValue(page++);
        entry->OutPage()->SetFileIndex(spec.outIndex);
        entry->SetFileInfo(document);
    }
}

// "FfLl" per entry: first/last of input, first/last of output ('-' = false).
std::vector<std::string> Flags(TPageList& list)
{
    std::vector<std::string> result;
    for (int i = 0; i < list.Count(); ++i) {
        list.SetCurrentIndex(i);
        std::string flags;
        flags += list.IsFirstOfInput() ? 'F' : '-';
        flags += list.IsLastOfInput() ? 'L' : '-';
        flags += list.IsFirstOfOutput() ? 'f' : '-';
        flags += list.IsLastOfOutput() ? 'l' : '-';
        result.push_back(flags);
    }
    return result;
}

TEST(PageListTest, FirstAndLastTestsFoldOnlyAsciiLetters)
{
    TPageList list;
    Fill(list, {{"/a/In.pdf", "/o/x(1).pdf"},
                {"/a/IN.PDF", "/o/X(1).pdf"},
                {"/a/in.pdf", "/o/x(2).pdf"},
                {"/a/\u00c4.pdf", "/o/x(2).pdf"},
                {"/a/\u00e4.pdf", "/o/x(2).pdf"}});
    EXPECT_EQ(Flags(list), (std::vector<std::string>{"F-f-", "---l", "-Lf-", "FL--", "FL-l"}));
    EXPECT_TRUE(list.IsLast());
}

TEST(PageListTest, SkippedDocumentIsLastOfInputAtEveryEntry)
{
    TFileInfo document;
    document.SetFileStatus(fsSkip);
    TPageList list;
    Fill(list, {{"/a/in.pdf", "/o/1.pdf"}, {"/a/in.pdf", "/o/1.pdf"}}, &document);
    EXPECT_EQ(Flags(list), (std::vector<std::string>{"FLf-", "-L-l"}));
}

TEST(PageListTest, PlaceholdersAreFilesOfTheirOwn)
{
    TPageList list;
    Fill(list, {{"", ""}, {"", ""}});
    EXPECT_EQ(Flags(list), (std::vector<std::string>{"FLfl", "FLfl"}));
}

TEST(PageListTest, CloseClearsTheSharedObjectOnceAndClosesIt)
{
    TPageList list;
    Fill(list, {{"/a/in.pdf", "/o/1.pdf"}, {"/a/IN.pdf", "/o/2.pdf"}, {"/b/in.pdf", "/o/2.pdf"}});
    list.Reindex();
    ComPtr<TCountingDoc> input = MakeComObject<TCountingDoc>();
    list.Items(0)->InPage()->SetDocObject(ComPtr<IDocObject>(input.get()));
    EXPECT_TRUE(list.Items(1)->InPage()->DocObject());
    EXPECT_FALSE(list.Items(2)->InPage()->DocObject());

    list.SetCurrentIndex(2);
    list.CloseCurrentInput(); // holds nothing: no engine call
    EXPECT_EQ(input->closes, 0);
    list.SetCurrentIndex(1);
    list.CloseCurrentInput();
    EXPECT_EQ(input->closes, 1);
    EXPECT_FALSE(list.Items(0)->InPage()->DocObject());
    list.CloseCurrentInput();
    EXPECT_EQ(input->closes, 1);
}

TEST(PageListTest, OutputFileCountCountsDistinctIndexes)
{
    TPageList list;
    EXPECT_EQ(list.OutputFileCount(), 0);
    Fill(list, {{"/a", "/x", 0}, {"/a", "/x", 0}, {"/a", "/y", 2}});
    EXPECT_EQ(list.OutputFileCount(), 2);
}

TEST(PageListTest, DumpIsWrittenOnlyBesideDebugTxt)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/");
    TPageList list;
    Fill(list, {{"/a/in.pdf", "/o/in(1).pdf", 0}});
    list.Items(0)->InPage()->SetFileIndex(1);
    QFile old(path + QStringLiteral("Pagelist.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    list.WriteDump(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    old.close();

    QFile debug(path + QStringLiteral("Debug.txt"));
    ASSERT_TRUE(debug.open(QIODevice::WriteOnly));
    debug.close();
    list.WriteDump(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(),
              QByteArray("    [In:File1    Page1  ]    [Out:File0    Page1  ]     [InFile:  in.pdf"
                         "       OutFile:  in(1).pdf]      \r\n"));
}

} // namespace
