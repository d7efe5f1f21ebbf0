#include "ModelTestSupport.h"

#include "model/PDFProj.h"
#include "shell/PathUtils.h"
#include "shell/RecordingLogSink.h"
#include "shell/RunLog.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

TEST(PDFProjTest, SourceNamesTheOutputOnlyWhileOutFileIsEmpty)
{
    QTemporaryDir folder;
    const QString path = WriteFileOfSize(folder, u"report.v2.pdf"_s, 321);
    struct Row
    {
        QString source;
        QString outFileBefore;
        QString outFile;
        qint64 fileSize;
    };
    const QString base = folder.filePath(u"report.v2"_s);
    const Row rows[] = {
        {path, QString(), base + u".docx"_s, 321},
        {path, u"chosen.pdf"_s, u"chosen.pdf"_s, 0},
        {folder.filePath(u"missing.pdf"_s), QString(), folder.filePath(u"missing.docx"_s), 0},
        {folder.filePath(u"no extension"_s), QString(), folder.filePath(u"no extension.docx"_s), 0},
        {u"C:\\dir.d\\name"_s, QString(), u"C:\\dir.d\\name.docx"_s, 0},
        // A folder is no document: it has no size.
        {folder.path(), QString(), folder.path() + u".docx"_s, 0},
    };
    for (const Row& row : rows) {
        TFileInfo document;
        document.SetOutFile(row.outFileBefore);
        document.SetSource(row.source);
        EXPECT_EQ(document.Source(), row.source);
        EXPECT_EQ(document.OutFile(), row.outFile) << row.source.toStdString();
        EXPECT_EQ(document.FileSize(), row.fileSize) << row.source.toStdString();
    }
}

TEST(PDFProjTest, PageScoreStartsTheDocumentOverOnlyWhenItChanges)
{
    const TAllPagesWordScope allPages;
    TFileInfo document;
    // A new document gets "1" before its page count is known.
    document.SetPageScore(u"1"_s);
    EXPECT_EQ(document.GetPageList(), QStringList{u"1"_s});

    document.SetTotalPage(4);
    document.SetFileStatus(fsFinish);
    document.SetOutFile(u"out.pdf"_s);
    document.SetConvertTime(3);
    document.SetPageScore(u"1"_s);
    EXPECT_EQ(document.FileStatus(), fsFinish) << "the same text changes nothing";
    EXPECT_EQ(document.OutFile(), u"out.pdf"_s);

    document.SetPageScore(u"all"_s);
    EXPECT_EQ(document.PageList(), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(document.FileStatus(), fsNew);
    EXPECT_EQ(document.OutFile(), QString());
    EXPECT_EQ(document.ConvertTime(), 0);

    // "1" and "01" select the same pages, yet a different text starts over.
    document.SetPageScore(u"1"_s);
    document.SetFileStatus(fsFinish);
    document.SetPageScore(u"01"_s);
    EXPECT_EQ(document.FileStatus(), fsNew);

    document.SetPageScore(u"All"_s);
    document.SetTotalPage(6);
    document.SetPageScore(u"All"_s);
    EXPECT_EQ(document.PageList().size(), 4) << "the same text does not rebuild the list";
    document.RefreshPageList();
    EXPECT_EQ(document.PageList().size(), 6);
    EXPECT_EQ(document.GetPageList().last(), u"6"_s);

    document.SetTotalPage(-1);
    EXPECT_TRUE(document.PageList().isEmpty());
    document.SetTotalPage(5);
    EXPECT_TRUE(document.PageList().isEmpty()) << "only -1 touches the list";
    EXPECT_EQ(document.PageScore(), u"All"_s);
}

TEST(PDFProjTest, WithoutAllPagesWordTheEmptySelectionTakesAllPages)
{
    TFileInfo document;
    document.SetTotalPage(3);
    document.SetPageScore(u"All"_s);
    EXPECT_EQ(document.PageList(), QList<int>{-1});
    document.SetPageScore(QString());
    EXPECT_EQ(document.PageList(), (QList<int>{1, 2, 3}));
}

TEST(PDFProjTest, IsAccessible)
{
    struct Row
    {
        bool userPass;
        bool passwdRight;
        bool accessible;
    };
    for (const Row& row : {Row{false, false, true}, Row{false, true, true}, Row{true, false, false},
                           Row{true, true, true}}) {
        TFileInfo document;
        document.SetUserPass(row.userPass);
        document.SetPasswdRight(row.passwdRight);
        EXPECT_EQ(document.IsAccessible(), row.accessible) << row.userPass << row.passwdRight;
    }
}

TEST(PDFProjTest, FormatTable)
{
    struct Row
    {
        TFileFormat format;
        const char16_t* ext;
        const char16_t* version;
    };
    const Row rows[] = {
        {ffWord, u".docx", u"word2007"},    {ffRTF, u".doc", u"rtf1.7"},
        {ffXml, u".xml", u"xml1.0"},        {ffExcel, u".xlsx", u"excel2007"},
        {ffPPT, u".pptx", u"pptx"},         {ffTiff, u"", u""},
        {ffPdf, u".pdf", u"1.7"},           {ffHtml, u".html", u"html4.0"},
        {ffTxt, u".txt", u"txt1.0"},        {ffImage, u".img", u"img1.0"},
        {ffPWSRemove, u".pdf", u"page1.7"}, {ffTest, u".pdf", u"V1.0.0.0"},
        {ffEpub, u".epub", u"epub4.0"},
    };
    for (const Row& row : rows) {
        const TFileItr descriptor(row.format);
        EXPECT_EQ(descriptor.ExtName(), QString::fromUtf16(row.ext)) << int(row.format);
        EXPECT_EQ(descriptor.VersionName(), QString::fromUtf16(row.version)) << int(row.format);
        EXPECT_EQ(descriptor.Owner(), nullptr);
    }
}

TEST(PDFProjTest, ClearOutFilesAndDelete)
{
    TFileList files;
    for (const QString& name : {u"a"_s, u"b"_s}) {
        TFileInfo* document = files.NewItem();
        EXPECT_EQ(document->Owner(), &files);
        document->SetOutFile(name);
        document->SetPageScore(u"2"_s);
        document->SetOutFile(name);
    }
    files.ClearOutFiles();
    for (int i = 0; i < files.Count(); ++i) {
        EXPECT_EQ(files.Items(i)->OutFile(), QString());
        EXPECT_EQ(files.Items(i)->PageScore(), u"2"_s);
    }
    files.Delete(0);
    EXPECT_EQ(files.Count(), 1);
}

class EngineInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { SetLogSink(&FSink); }
    void TearDown() override { SetLogSink(nullptr); }

    RecordingLogSink FSink;
};

TEST_F(EngineInstanceTest, WithoutTheEngineModuleBothLinesAndNoInstance)
{
    QTemporaryDir emptyFolder;
    const TPDFProj project(emptyFolder.path());
    EXPECT_FALSE(project.Engine());
    EXPECT_EQ(FSink.Entries(), (QStringList{u"LoadLibrary OrvaneBusDocs.dll Faild."_s,
                                            u"GetProcAddress DllGetClassObject Faild."_s}));
    // The project is usable all the same.
    EXPECT_EQ(project.Files()->Count(), 0);
    EXPECT_EQ(project.ProjectName(), u"PDFProduct"_s);
}

TEST_F(EngineInstanceTest, WithTheEngineModuleAnInstanceAndNoLine)
{
    if (QDir(ApplicationFolder()).entryList({u"OrvaneBusDocs.*"_s}, QDir::Files).isEmpty())
        GTEST_SKIP() << "the engine module is not built beside the tests";
    const TPDFProj project;
    EXPECT_TRUE(project.Engine());
    EXPECT_TRUE(FSink.Entries().isEmpty()) << FSink.Entries().join(u'|').toStdString();
}

} // namespace
