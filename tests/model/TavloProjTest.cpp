#include "ModelTestSupport.h"

#include "model/TavloProj.h"
#include "shell/ProductConfig.h"

#include <QCoreApplication>

#include <functional>

#include <pugixml.hpp>

using namespace Qt::StringLiterals;

namespace {

TEST(TavloProjTest, PropertiesInTheirFixedOrder)
{
    struct Row
    {
        const QMetaObject& meta;
        QStringList names;
    };
    const Row rows[] = {
        {TTavloProj::staticMetaObject, {u"Files"_s, u"Method"_s}},
        {TMethod::staticMetaObject,
         {u"Option"_s, u"EveryPageNum"_s, u"BookMarkOption"_s, u"RangeStr"_s, u"AdvDefine"_s,
          u"AvgSplitNum"_s}},
        {TBookMarkOption::staticMetaObject, {u"LevelNum"_s, u"BothPage"_s, u"SaveHigherLevel"_s}},
        {TPageRange::staticMetaObject, {u"RangeStr"_s, u"NeedOtherPage"_s}},
        {TAdvDefine::staticMetaObject, {u"OutFile"_s, u"PageStr"_s}},
        {TFileInfo::staticMetaObject,
         {u"Source"_s, u"OutFile"_s, u"FileSize"_s, u"TotalPage"_s, u"FileFormat"_s, u"PageScore"_s,
          u"FileStatus"_s, u"UserPass"_s, u"OwerPasswd"_s, u"UserPassword"_s, u"PasswdRight"_s,
          u"PageList"_s, u"ConvertTime"_s, u"HasPasswd"_s, u"OCRFileFlag"_s}},
        {TFileItr::staticMetaObject, {u"Format"_s, u"ExtName"_s, u"VersionName"_s}},
        {TSetting::staticMetaObject, {}},
        {TConvertAdpterInfo::staticMetaObject, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PublishedNames(row.meta), row.names) << row.meta.className();
}

TEST(TavloProjTest, ANewJobHoldsItsSubObjectsWithEmptyValues)
{
    TTavloProj job;
    EXPECT_EQ(job.ProjectName(), u"PDFProduct"_s);
    EXPECT_EQ(job.Files()->Count(), 0);
    EXPECT_EQ(job.Files()->Owner(), &job);
    const TMethod& method = *job.Method();
    EXPECT_EQ(method.Owner(), &job);
    EXPECT_EQ(method.BookMarkOption()->Owner(), &method);
    EXPECT_EQ(method.RangeStr()->Owner(), &method);
    EXPECT_EQ(method.AdvDefine()->Owner(), &method);
    EXPECT_EQ(method.Option(), soEveryPage);
    EXPECT_EQ(method.EveryPageNum(), 0);
    EXPECT_EQ(method.AvgSplitNum(), 0);
    EXPECT_EQ(method.BookMarkOption()->LevelNum(), 0);
    EXPECT_FALSE(method.BookMarkOption()->BothPage());
    EXPECT_FALSE(method.RangeStr()->NeedOtherPage());
    EXPECT_EQ(method.AdvDefine()->Count(), 0);
    EXPECT_FALSE(SettingsComplete(method)) << "a new job is refused";
    EXPECT_EQ(job.Setting()->InputFormat()->Format(), ProductConfig().InFormat);
    EXPECT_EQ(job.Setting()->OutputFormat()->Format(), ProductConfig().OutFormat);
    EXPECT_EQ(job.Adapters()->Count(), 0);
}

TEST(TavloProjTest, SettingsCompletenessRule)
{
    struct Row
    {
        TSplitOption option;
        std::function<void(TMethod&)> set;
        bool complete;
    };
    const auto everyPage = [](int n) { return [n](TMethod& m) { m.SetEveryPageNum(n); }; };
    const auto level = [](int n) {
        return [n](TMethod& m) { m.BookMarkOption()->SetLevelNum(n); };
    };
    const auto range = [](const QString& text) {
        return [text](TMethod& m) { m.RangeStr()->SetRangeStr(text); };
    };
    const auto outputs = [](int n) {
        return [n](TMethod& m) {
            for (int i = 0; i < n; ++i)
                m.AdvDefine()->NewItem()->SetPageStr(u"not checked here"_s);
        };
    };
    const auto parts = [](int n) { return [n](TMethod& m) { m.SetAvgSplitNum(n); }; };
    const Row rows[] = {
        {soEveryPage, everyPage(0), false},
        {soEveryPage, everyPage(-3), false},
        {soEveryPage, everyPage(1), true},
        {soBookMarkLever, level(0), false},
        {soBookMarkLever, level(1), true},
        {soPageRange, range(QString()), false},
        {soPageRange, range(u"   "_s), false},
        {soPageRange, range(u"1"_s), true},
        {soPageRange, range(u"x"_s), true},
        {soCustom, outputs(0), false},
        {soCustom, outputs(1), true},
        {soAverge, parts(0), false},
        {soAverge, parts(2), true},
    };
    for (const Row& row : rows) {
        TMethod method;
        // The parameters of the other methods do not count.
        method.SetEveryPageNum(5);
        method.SetAvgSplitNum(5);
        method.BookMarkOption()->SetLevelNum(5);
        method.SetOption(row.option);
        row.set(method);
        EXPECT_EQ(SettingsComplete(method), row.complete)
            << int(row.option) << " " << method.AsText().toStdString();
    }
}

TEST(TavloProjTest, SwitchingTheMethodKeepsTheOtherParameters)
{
    TMethod method;
    method.SetEveryPageNum(4);
    method.RangeStr()->SetRangeStr(u"2-3"_s);
    method.SetOption(soPageRange);
    method.SetOption(soEveryPage);
    EXPECT_EQ(method.EveryPageNum(), 4);
    EXPECT_EQ(method.RangeStr()->RangeStr(), u"2-3"_s);
}

// A job with two documents, the parameters of every method and a table of two custom outputs.
class FullJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FFirstPath = WriteFileOfSize(FFolder, u"first.pdf"_s, 1234);
        TFileInfo& first = *FJob.Files()->NewItem();
        first.SetSource(FFirstPath);
        first.SetFileFormat(ffPdf);
        first.SetTotalPage(12);
        first.SetPageScore(u"1,3-5"_s);
        first.SetOutFile(u"planned.pdf"_s);
        first.SetFileStatus(fsFinish);
        first.SetUserPass(true);
        first.SetUserPassword(u"sec <&> ret"_s);
        first.SetPasswdRight(true);
        first.SetConvertTime(2.5);
        first.SetHasPasswd(true);

        // No page selection: loading has nothing to start over, so OutFile survives.
        TFileInfo& second = *FJob.Files()->NewItem();
        second.SetOutFile(u"kept name.pdf"_s);
        second.SetSource(FFolder.filePath(u"missing Zweite Ä.pdf"_s));
        second.SetFileSize(77);
        second.SetFileFormat(ffEpub);
        second.SetTotalPage(-1);
        second.SetFileStatus(fsSkip);
        second.SetOwerPasswd(u"  owner  "_s);
        second.SetOCRFileFlag(true);

        TMethod& method = *FJob.Method();
        method.SetOption(soCustom);
        method.SetEveryPageNum(3);
        method.BookMarkOption()->SetLevelNum(2);
        method.BookMarkOption()->SetBothPage(true);
        method.BookMarkOption()->SetSaveHigherLevel(true);
        method.RangeStr()->SetRangeStr(u" 2-4 "_s);
        method.RangeStr()->SetNeedOtherPage(true);
        for (const auto& [name, pages] :
             {std::pair{u"a.pdf"_s, u"1-2"_s}, std::pair{u"b & c.pdf"_s, u"5,3"_s}}) {
            TAdvDefine* output = method.AdvDefine()->NewItem();
            output->SetOutFile(name);
            output->SetPageStr(pages);
        }
        method.SetAvgSplitNum(4);
    }

    // What a copy through the setters gives: everything but the 64-bit FileSize, which the
    // Source setter reads from the file, and OutFile, which a page selection empties.
    void ExpectCopyOfJob(const TTavloProj& copy)
    {
        EXPECT_EQ(copy.Method()->AsText(), FJob.Method()->AsText());
        ASSERT_EQ(copy.Files()->Count(), 2);
        for (int i = 0; i < 2; ++i) {
            const TFileInfo& expected = *FJob.Files()->Items(i);
            const TFileInfo& actual = *copy.Files()->Items(i);
            EXPECT_EQ(actual.Owner(), copy.Files());
            EXPECT_EQ(actual.Source(), expected.Source());
            EXPECT_EQ(actual.TotalPage(), expected.TotalPage());
            EXPECT_EQ(actual.FileFormat(), expected.FileFormat());
            EXPECT_EQ(actual.PageScore(), expected.PageScore());
            EXPECT_EQ(actual.PageList(), expected.PageList());
            EXPECT_EQ(actual.FileStatus(), expected.FileStatus());
            EXPECT_EQ(actual.UserPass(), expected.UserPass());
            EXPECT_EQ(actual.OwerPasswd(), expected.OwerPasswd());
            EXPECT_EQ(actual.UserPassword(), expected.UserPassword());
            EXPECT_EQ(actual.PasswdRight(), expected.PasswdRight());
            EXPECT_EQ(actual.ConvertTime(), expected.ConvertTime());
            EXPECT_EQ(actual.HasPasswd(), expected.HasPasswd());
            EXPECT_EQ(actual.OCRFileFlag(), expected.OCRFileFlag());
        }
        const TFileInfo& first = *copy.Files()->Items(0);
        EXPECT_EQ(first.FileSize(), 1234);
        EXPECT_EQ(first.OutFile(), QString());
        EXPECT_EQ(first.PageList(), (QList<int>{1, 3, 4, 5}));
        const TFileInfo& second = *copy.Files()->Items(1);
        EXPECT_EQ(second.FileSize(), 0);
        EXPECT_EQ(second.OutFile(), u"kept name.pdf"_s);
    }

    QTemporaryDir FFolder;
    QString FFirstPath;
    TTavloProj FJob;
};

TEST_F(FullJobTest, AssignCopiesTheWholeJob)
{
    TTavloProj copy;
    copy.Files()->NewItem()->SetSource(u"replaced"_s);
    copy.Method()->AdvDefine()->NewItem();
    copy.SetProjectName(u"Other"_s);
    copy.Assign(FJob);
    ExpectCopyOfJob(copy);
    EXPECT_EQ(copy.ProjectName(), u"PDFProduct"_s);
    EXPECT_NE(copy.Method()->AdvDefine()->Items(0), FJob.Method()->AdvDefine()->Items(0));

    // The copy is independent of its source.
    FJob.Method()->AdvDefine()->Clear();
    FJob.Files()->Delete(0);
    EXPECT_EQ(copy.Method()->AdvDefine()->Count(), 2);
    EXPECT_EQ(copy.Files()->Count(), 2);
}

TEST_F(FullJobTest, XmlRoundTrip)
{
    const QString path = FFolder.filePath(u"job.xml"_s);
    FJob.SaveToFile(path);
    const QString version =
        GetFileVersionText(QCoreApplication::applicationFilePath(), TVersionForm::Short);
    EXPECT_FALSE(version.isEmpty());
    EXPECT_EQ(FJob.Version(), version);

    TTavloProj loaded;
    loaded.LoadFromFile(path);
    ExpectCopyOfJob(loaded);
    EXPECT_EQ(loaded.Version(), version);
    EXPECT_TRUE(loaded.Modified());
}

TEST_F(FullJobTest, FileFormElementByElement)
{
    const QString path = FFolder.filePath(u"job.xml"_s);
    FJob.SaveToFile(path);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(path.toLocal8Bit().constData(),
                                   pugi::parse_default | pugi::parse_declaration));
    EXPECT_STREQ(document.first_child().name(), "xml");
    EXPECT_STREQ(document.first_child().attribute("encoding").value(), "UTF-8");
    const pugi::xml_node root = document.document_element();
    EXPECT_STREQ(root.name(), "PDFProduct");
    EXPECT_EQ(QString::fromUtf8(root.attribute("version").value()), FJob.Version());

    const auto names = [](pugi::xml_node node) {
        QStringList list;
        for (pugi::xml_node child : node.children())
            list.append(QString::fromUtf8(child.name()));
        return list;
    };
    const QStringList fileInfo = {
        u"Source"_s,      u"OutFile"_s,     u"FileSize"_s,  u"TotalPage"_s,  u"FileFormat"_s,
        u"PageScore"_s,   u"FileStatus"_s,  u"UserPass"_s,  u"OwerPasswd"_s, u"UserPassword"_s,
        u"PasswdRight"_s, u"ConvertTime"_s, u"HasPasswd"_s, u"OCRFileFlag"_s};
    struct Row
    {
        const char* path;
        QStringList children;
    };
    const Row rows[] = {
        {"/PDFProduct", {u"Files"_s, u"Method"_s}},
        {"/PDFProduct/Files", {u"TFileInfo"_s, u"TFileInfo"_s}},
        {"/PDFProduct/Files/TFileInfo[1]", fileInfo},
        {"/PDFProduct/Files/TFileInfo[2]", fileInfo},
        {"/PDFProduct/Method",
         {u"Option"_s, u"EveryPageNum"_s, u"BookMarkOption"_s, u"RangeStr"_s, u"AdvDefine"_s,
          u"AvgSplitNum"_s}},
        {"/PDFProduct/Method/BookMarkOption", {u"LevelNum"_s, u"BothPage"_s, u"SaveHigherLevel"_s}},
        {"/PDFProduct/Method/RangeStr", {u"RangeStr"_s, u"NeedOtherPage"_s}},
        {"/PDFProduct/Method/AdvDefine", {u"TAdvDefine"_s, u"TAdvDefine"_s}},
        {"/PDFProduct/Method/AdvDefine/TAdvDefine[2]", {u"OutFile"_s, u"PageStr"_s}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(names(document.select_node(row.path).node()), row.children) << row.path;

    const pugi::xml_node first = root.child("Files").child("TFileInfo");
    struct Leaf
    {
        const char* name;
        const char* text;
    };
    for (const Leaf& leaf :
         {Leaf{"FileSize", "1234"}, Leaf{"FileFormat", "ffPdf"}, Leaf{"FileStatus", "fsFinish"},
          Leaf{"UserPass", "True"}, Leaf{"ConvertTime", "2.5"}, Leaf{"OCRFileFlag", "False"},
          Leaf{"OutFile", "planned.pdf"}})
        EXPECT_STREQ(first.child(leaf.name).text().get(), leaf.text) << leaf.name;
    EXPECT_STREQ(root.child("Method").child("Option").text().get(), "soCustom");
}

TEST_F(FullJobTest, ListsFreeWhatTheyHold)
{
    // Run under the sanitizers: every path below frees each object exactly once.
    TTavloProj copy;
    copy.Assign(FJob);
    copy.Assign(FJob);
    copy.Files()->Items(0)->Delete();
    copy.Method()->AdvDefine()->Delete(1);
    copy.Method()->AdvDefine()->Clear();
    copy.Files()->Clear();
    EXPECT_EQ(copy.Files()->Count(), 0);
    auto job = std::make_unique<TTavloProj>();
    job->Assign(FJob);
    job.reset();
    EXPECT_EQ(FJob.Files()->Count(), 2);
}

} // namespace
