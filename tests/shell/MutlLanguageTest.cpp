#include "LanguageTestObjects.h"

#include "shell/LanguageHooks.h"
#include "shell/MutlLanguage.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ListContentCall
{
    QString component;
    TListContentKind kind;
    QStringList lines;
};

// Records the list content instead of handing it to widgets.
class RecordingMutlLanguage : public TMutlLanguage
{
public:
    using TMutlLanguage::TMutlLanguage;
    QList<ListContentCall> FCalls;

protected:
    bool ApplyListContent(QObject* component, TListContentKind kind,
                          const QStringList& lines) override
    {
        FCalls.append({component->objectName(), kind, lines});
        return true;
    }
};

class MutlLanguageTest : public ::testing::Test
{
protected:
    QString Write(const QString& content)
    {
        const QString path = FFolder.filePath(QStringLiteral("English.dat"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.toUtf8());
        return path;
    }

    QTemporaryDir FFolder;
};

TEST_F(MutlLanguageTest, StringLookupLeavesTheValueAloneWhenAbsent)
{
    const TFormsLanguageFile file(
        Write(QStringLiteral("<LanguageResource><Strings><sDirSelect>Select a folder</sDirSelect>"
                             "<sEmpty/></Strings></LanguageResource>")));
    const TFormsLanguageFile missing(FFolder.filePath(QStringLiteral("missing.dat")));

    const struct
    {
        const TFormsLanguageFile& file;
        const char* name;
        bool found;
        QString value;
    } cases[] = {
        {file, "sDirSelect", true, QStringLiteral("Select a folder")},
        {file, "sEmpty", true, QString()},
        {file, "sMissing", false, QStringLiteral("unchanged")},
        {file, "", false, QStringLiteral("unchanged")},
        {missing, "sDirSelect", false, QStringLiteral("unchanged")},
    };
    for (const auto& c : cases) {
        QString value = QStringLiteral("unchanged");
        EXPECT_EQ(
            TMutlLanguage(nullptr, c.file).GetFormsLangString(QString::fromLatin1(c.name), value),
            c.found)
            << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
}

TEST_F(MutlLanguageTest, AppliesTheWindowElementOfTheWindowsClass)
{
    const TFormsLanguageFile file(Write(QStringLiteral(
        "<LanguageResource><Forms>"
        "<frmMain><btnConvert text=\"By object name\"/></frmMain>"
        "<TfrmMainEx text=\"Not for the window itself\">"
        "<btnConvert text=\"Convert\" mode=\"mdFast\" options=\"opLeft|opRight\"/>"
        "<cbxLevel text=\"Levels\"><Items><Item Caption=\"One\"/><Item/><Item Caption=\"Three\"/>"
        "</Items></cbxLevel>"
        "<lstFiles><Columns><Column Caption=\"File name\"/><Column Caption=\"Range\"/></Columns>"
        "</lstFiles>"
        "<lblBad mode=\"mdNoSuch\" text=\"not reached\"/>"
        "<lblGood text=\"reached\"/>"
        "<noSuchComponent text=\"x\"/>"
        "</TfrmMainEx></Forms></LanguageResource>")));
    TfrmMainEx window(QStringLiteral("frmMain"));
    auto* panel = new TTestControl(QStringLiteral("pnlSplit"), &window);
    auto* convert = new TTestControl(QStringLiteral("btnConvert"), panel);
    auto* level = new TTestControl(QStringLiteral("cbxLevel"), panel);
    new TTestControl(QStringLiteral("lstFiles"), &window);
    auto* bad = new TTestControl(QStringLiteral("lblBad"), &window);
    auto* good = new TTestControl(QStringLiteral("lblGood"), &window);

    RecordingMutlLanguage applier(&window, file);
    applier.ApplyFormsLanguage();

    EXPECT_EQ(window.FText, QStringLiteral("initial"));
    EXPECT_EQ(convert->FText, QStringLiteral("Convert"));
    EXPECT_EQ(convert->FMode, TTestControl::mdFast);
    EXPECT_EQ(convert->FOptions, TTestControl::opLeft | TTestControl::opRight);
    EXPECT_EQ(level->FText, QStringLiteral("Levels"));
    EXPECT_EQ(bad->FText, QStringLiteral("initial"));
    EXPECT_EQ(good->FText, QStringLiteral("reached"));
    ASSERT_EQ(applier.FCalls.size(), 2);
    EXPECT_EQ(applier.FCalls[0].component, QStringLiteral("cbxLevel"));
    EXPECT_EQ(applier.FCalls[0].kind, TListContentKind::Items);
    EXPECT_EQ(applier.FCalls[0].lines,
              QStringList({QStringLiteral("One"), QString(), QStringLiteral("Three")}));
    EXPECT_EQ(applier.FCalls[1].component, QStringLiteral("lstFiles"));
    EXPECT_EQ(applier.FCalls[1].kind, TListContentKind::Columns);
    EXPECT_EQ(applier.FCalls[1].lines,
              QStringList({QStringLiteral("File name"), QStringLiteral("Range")}));
}

TEST_F(MutlLanguageTest, ListContentGoesToTheInstalledHandlerByDefault)
{
    const TFormsLanguageFile file(Write(QStringLiteral(
        "<LanguageResource><Forms><TfrmMainEx><cbxLevel><Items><Item Caption=\"1\"/></Items>"
        "</cbxLevel></TfrmMainEx></Forms></LanguageResource>")));
    TfrmMainEx window(QStringLiteral("frmMain"));
    new TTestControl(QStringLiteral("cbxLevel"), &window);
    QStringList seen;
    SetListContentApplier([&seen](QObject* component, TListContentKind, const QStringList& lines) {
        seen = QStringList{component->objectName()} + lines;
        return true;
    });
    TMutlLanguage(&window, file).ApplyFormsLanguage();
    SetListContentApplier({});
    EXPECT_EQ(seen, QStringList({QStringLiteral("cbxLevel"), QStringLiteral("1")}));
}

TEST_F(MutlLanguageTest, AMissingFileChangesNothing)
{
    const TFormsLanguageFile missing(FFolder.filePath(QStringLiteral("missing.dat")));
    TfrmMainEx window(QStringLiteral("frmMain"));
    auto* convert = new TTestControl(QStringLiteral("btnConvert"), &window);
    TMutlLanguage(&window, missing).ApplyFormsLanguage();
    EXPECT_EQ(convert->FText, QStringLiteral("initial"));
}

} // namespace
