#include "LanguageTestObjects.h"

#include "shell/LanguageHooks.h"
#include "shell/LanguageMgr.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

QString LanguageFile(const QString& attributes, const QString& body,
                     const QString& root = QStringLiteral("LanguageResource"))
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<%1 %2>%3</%1>\n")
        .arg(root, attributes, body);
}

class LanguageMgrTest : public ::testing::Test
{
protected:
    void TearDown() override { SetLanguageFontApplier({}); }

    void Write(const QString& name, const QString& content)
    {
        QFile file(FFolder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.toUtf8());
    }

    // One language, ENG, selected, whose "Forms" holds the given window elements.
    void SelectForms(const QString& forms, const QString& root = QStringLiteral("LanguageResource"))
    {
        Write(QStringLiteral("English.dat"),
              LanguageFile(QStringLiteral("Id=\"ENG\" name=\"English\" LangID=\"1033\""),
                           QStringLiteral("<Forms>%1</Forms>").arg(forms), root));
        ASSERT_EQ(FManager.LoadLanguages(Pattern()), 1);
        ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("ENG")));
    }

    QString Pattern() const { return FFolder.path() + QStringLiteral("/*.dat"); }

    QTemporaryDir FFolder;
    TLanguageMgr FManager;
};

TEST_F(LanguageMgrTest, ListsOnlyUsableLanguageFiles)
{
    const QString strings = QStringLiteral("<Strings/>");
    Write(QStringLiteral("a.dat"),
          LanguageFile(QStringLiteral("Id=\"ENG\" name=\"English\""), strings));
    Write(QStringLiteral("b.dat"), LanguageFile(QStringLiteral("Id=\"LOW\" name=\"Lower\""),
                                                strings, QStringLiteral("languageresource")));
    Write(QStringLiteral("c.dat"), LanguageFile(QStringLiteral("Id=\"NON\" name=\"\""), strings));
    Write(QStringLiteral("d.dat"), QStringLiteral("this is < not XML"));
    Write(QStringLiteral("e.dat"), LanguageFile(QStringLiteral("Id=\"OTH\" name=\"Other\""),
                                                strings, QStringLiteral("Other")));
    Write(QStringLiteral("f.txt"),
          LanguageFile(QStringLiteral("Id=\"TXT\" name=\"Text\""), strings));
    Write(QStringLiteral("g.DAT"),
          LanguageFile(QStringLiteral("Id=\"UPX\" name=\"Upper\""), strings));
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("h.dat")));
#if defined(Q_OS_UNIX)
    // Reading a pipe would wait for a writer for good.
    ASSERT_EQ(::mkfifo(QFile::encodeName(FFolder.filePath(QStringLiteral("i.dat"))).constData(), 0600), 0);
#endif

    ASSERT_EQ(FManager.LoadLanguages(Pattern()), 3);
    const TLanguageList& list = FManager.Languages();
    EXPECT_EQ(list.Item(0)->Id(), QStringLiteral("ENG"));
    EXPECT_EQ(list.Item(1)->Id(), QStringLiteral("LOW"));
    EXPECT_EQ(list.Item(2)->Id(), QStringLiteral("UPX"));
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_FALSE(list.Item(i)->HasDocument()) << i;
    EXPECT_EQ(FManager.CurrentIndex(), -1);

    // A new scan forgets the previous one.
    EXPECT_EQ(FManager.LoadLanguages(FFolder.path() + QStringLiteral("/none/*.dat")), 0);
    EXPECT_EQ(FManager.Languages().Count(), 0);
}

TEST_F(LanguageMgrTest, SelectsByIdInAnyLetterCase)
{
    Write(QStringLiteral("English.dat"),
          LanguageFile(QStringLiteral("Id=\"ENG\" name=\"English\""),
                       QStringLiteral("<Strings><AppName>Splitter</AppName></Strings>")));
    Write(QStringLiteral("German.dat"),
          LanguageFile(QStringLiteral("Id=\"DEU\" name=\"Deutsch\""),
                       QStringLiteral("<Strings><AppName>Teiler</AppName></Strings>")));
    ASSERT_EQ(FManager.LoadLanguages(Pattern()), 2);

    EXPECT_EQ(FManager.GetLangString(QStringLiteral("AppName"), QStringLiteral("none")),
              QStringLiteral("none"));
    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("eng")));
    EXPECT_EQ(FManager.Current()->Id(), QStringLiteral("ENG"));
    EXPECT_EQ(FManager.GetLangString(QStringLiteral("AppName")), QStringLiteral("Splitter"));
    TLanguageItem* english = FManager.Current();

    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("Deu")));
    EXPECT_EQ(FManager.GetLangString(QStringLiteral("AppName")), QStringLiteral("Teiler"));
    EXPECT_FALSE(english->HasDocument());

    EXPECT_FALSE(FManager.SelectLanguage(QStringLiteral("FRA")));
    EXPECT_EQ(FManager.CurrentIndex(), -1);
    // Without a language the program's own English names it; "Orvane " alone names no product.
    EXPECT_EQ(FManager.GetLangString(QStringLiteral("AppName")), QStringLiteral("PDF Splitter"));
}

TEST_F(LanguageMgrTest, LooksUpStringsWithDefaults)
{
    Write(QStringLiteral("English.dat"),
          LanguageFile(QStringLiteral("Id=\"ENG\" name=\"English\""),
                       QStringLiteral("<Strings><sAll>All</sAll><sEmpty/>"
                                      "<sMarkup><![CDATA[a < b]]></sMarkup></Strings>")));
    Write(QStringLiteral("Bare.dat"), LanguageFile(QStringLiteral("Id=\"BAR\" name=\"Bare\""), {}));
    ASSERT_EQ(FManager.LoadLanguages(Pattern()), 2);
    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("ENG")));

    const QString def = QStringLiteral("default");
    const struct
    {
        const char* name;
        QString expected;
    } cases[] = {
        {"sAll", QStringLiteral("All")},
        {"sEmpty", QString()},
        {"sMarkup", QStringLiteral("a < b")},
        {"sMissing", def},
        {"", def},
        {"sAll/..", def},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FManager.GetLangString(QString::fromLatin1(c.name), def), c.expected) << c.name;

    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("BAR")));
    EXPECT_EQ(FManager.GetLangString(QStringLiteral("sAll"), def), def);
    // A message the language does not give comes up in English, never empty.
    EXPECT_FALSE(FManager.GetLangString(QStringLiteral("sInvalidPath")).isEmpty());
    EXPECT_TRUE(FManager.GetLangString(QStringLiteral("sNoSuchString")).isEmpty());
}

TEST_F(LanguageMgrTest, ReadsTheLanguageFields)
{
    Write(
        QStringLiteral("German.dat"),
        LanguageFile(QStringLiteral("Id=\"DEU\" name=\"Deutsch\" LocaleName=\"From file\" "
                                    "LangID=\"1031\" CodePage=\"1252\""),
                     QStringLiteral("<Default><Font Charset=\"GB2312_CHARSET\" Name=\"Noto Sans\" "
                                    "Size=\"11\" Color=\"clRed\" Style=\"Underline bold\"/>"
                                    "<Help file=\"help/guide.html\"/></Default>")));
    Write(QStringLiteral("Other.dat"),
          LanguageFile(QStringLiteral("Id=\"XXX\" name=\"Other\" LocaleName=\"From file\" "
                                      "LangID=\"12x\""),
                       QStringLiteral("<Default><Font Charset=\"NO_CHARSET\" Size=\"big\" "
                                      "Color=\"clNoSuch\"/></Default>")));
    ASSERT_EQ(FManager.LoadLanguages(Pattern()), 2);

    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("DEU")));
    const TLanguageItem* german = FManager.Current();
    EXPECT_EQ(german->LangID(), 1031);
    EXPECT_EQ(german->CodePage(), 1252);
    EXPECT_EQ(german->LocaleName(), QStringLiteral("German (Germany)"));
    EXPECT_EQ(german->Font().charset, DEFAULT_CHARSET);
    EXPECT_EQ(german->Font().name, QStringLiteral("Noto Sans"));
    EXPECT_EQ(german->Font().size, 11);
    EXPECT_EQ(german->Font().color, 0x0000FF);
    EXPECT_EQ(german->Font().style, TFontStyles(TFontStyle::fsBold) | TFontStyle::fsUnderline);
    EXPECT_EQ(german->HelpFile(), german->Folder() + QStringLiteral("help/guide.html"));
    EXPECT_EQ(german->Folder(), QDir(FFolder.path()).absolutePath() + QStringLiteral("/"));

    // Unreadable values keep what the font had; an unreadable LangID is 0.
    ASSERT_TRUE(FManager.SelectLanguage(QStringLiteral("XXX")));
    const TLanguageItem* other = FManager.Current();
    EXPECT_EQ(other->LangID(), 0);
    EXPECT_EQ(other->LocaleName(), QStringLiteral("From file"));
    const TLanguageFont defaults;
    EXPECT_EQ(other->Font().charset, defaults.charset);
    EXPECT_EQ(other->Font().size, defaults.size);
    EXPECT_EQ(other->Font().color, defaults.color);
    EXPECT_TRUE(other->HelpFile().isEmpty());
}

// A window "frmAbout" of class TfrmAbout holding a panel with two labels.
class LanguageApplyTest : public LanguageMgrTest
{
protected:
    LanguageApplyTest()
    {
        FPanel->FRecord = FLabel->FRecord = FOther->FRecord = FWindow.FRecord = &FBroadcast;
    }

    TfrmAbout FWindow{QStringLiteral("frmAbout")};
    TTestControl* FPanel = new TTestControl(QStringLiteral("pnlMain"), &FWindow);
    TTestControl* FLabel = new TTestControl(QStringLiteral("lblTitle"), FPanel);
    TTestControl* FOther = new TTestControl(QStringLiteral("lblOther"), FPanel);
    QStringList FBroadcast;
};

TEST_F(LanguageApplyTest, WithoutALanguageNothingIsApplied)
{
    EXPECT_FALSE(FManager.ApplyLanguage(&FWindow));
    EXPECT_TRUE(FBroadcast.isEmpty());
}

TEST_F(LanguageApplyTest, FindsTheWindowByItsNameFirst)
{
    SelectForms(QStringLiteral("<frmAbout text=\"About\"><lblTitle text=\"Hello\" number=\"7\"/>"
                               "<lblMissing text=\"x\"/></frmAbout>"
                               "<TfrmAbout name=\"frmAbout\" text=\"By class\"/>"));
    TLanguageFont applied;
    QObject* fontWindow = nullptr;
    SetLanguageFontApplier([&](QObject* window, const TLanguageFont& font) {
        fontWindow = window;
        applied = font;
    });

    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FWindow.FText, QStringLiteral("About"));
    EXPECT_EQ(FLabel->FText, QStringLiteral("Hello"));
    EXPECT_EQ(FLabel->FNumber, 7);
    EXPECT_FALSE(FManager.Current()->UsesNameAttribute());
    EXPECT_EQ(fontWindow, &FWindow);
    EXPECT_EQ(applied.size, FManager.Current()->Font().size);
}

TEST_F(LanguageApplyTest, FindsTheWindowByClassAndThenIdentifiesComponentsByAttribute)
{
    SelectForms(QStringLiteral("<TfrmAbout name=\"frmOther\" text=\"Wrong window\"/>"
                               "<TfrmAbout name=\"frmAbout\" text=\"By class\">"
                               "<Label name=\"lblTitle\" text=\"Hi\"/></TfrmAbout>"
                               "<frmSecond><Anything name=\"lblSecond\" text=\"By attribute\"/>"
                               "<lblThird text=\"By element name\"/></frmSecond>"));
    TTestControl second(QStringLiteral("frmSecond"));
    auto* secondLabel = new TTestControl(QStringLiteral("lblSecond"), &second);
    auto* thirdLabel = new TTestControl(QStringLiteral("lblThird"), &second);

    // Before any window was found by class name, element names identify components.
    ASSERT_TRUE(FManager.ApplyLanguage(&second));
    EXPECT_EQ(secondLabel->FText, QStringLiteral("initial"));
    EXPECT_EQ(thirdLabel->FText, QStringLiteral("By element name"));

    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FWindow.FText, QStringLiteral("By class"));
    EXPECT_EQ(FLabel->FText, QStringLiteral("Hi"));
    EXPECT_TRUE(FManager.Current()->UsesNameAttribute());

    // The flag stays: the "name" attribute now identifies the components of every window;
    // an element without one still goes by its own name.
    thirdLabel->FText.clear();
    ASSERT_TRUE(FManager.ApplyLanguage(&second));
    EXPECT_EQ(secondLabel->FText, QStringLiteral("By attribute"));
    EXPECT_EQ(thirdLabel->FText, QStringLiteral("By element name"));
}

TEST_F(LanguageApplyTest, ARootInAnotherLetterCaseFindsItsWindows)
{
    SelectForms(QStringLiteral("<frmAbout text=\"About\"/>"), QStringLiteral("languageresource"));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FWindow.FText, QStringLiteral("About"));
}

TEST_F(LanguageApplyTest, ComponentNamesAreNeverReadAsPathSyntax)
{
    SelectForms(QStringLiteral("<frmAbout text=\"About\"/><TfrmAbout name=\"x\" text=\"Class\"/>"));
    const char* names[] = {"*", "frmAbout|/*", "", "x\"] | /*[@a=\"", "1abc"};
    for (const char* name : names) {
        FWindow.setObjectName(QString::fromLatin1(name));
        FWindow.FText = QStringLiteral("initial");
        ASSERT_TRUE(FManager.ApplyLanguage(&FWindow)) << name;
        EXPECT_EQ(FWindow.FText, QStringLiteral("initial")) << name;
    }
}

TEST_F(LanguageApplyTest, ConvertsValuesByPropertyType)
{
    const struct
    {
        const char* attributes;
        std::function<bool(const TTestControl&)> holds;
    } cases[] = {
        {"number=\"42\"", [](const TTestControl& c) { return c.FNumber == 42; }},
        {"number=\"clRed\"", [](const TTestControl& c) { return c.FNumber == 255; }},
        {"number=\"twelve\"", [](const TTestControl& c) { return c.FNumber == 0; }},
        {"big=\"9000000000\"", [](const TTestControl& c) { return c.FBig == 9000000000; }},
        {"flag=\"True\"", [](const TTestControl& c) { return c.FFlag; }},
        {"ratio=\"2.5\"", [](const TTestControl& c) { return c.FRatio == 2.5; }},
        {"text=\"\"", [](const TTestControl& c) { return c.FText.isEmpty(); }},
        {"mode=\"mdSafe\"", [](const TTestControl& c) { return c.FMode == TTestControl::mdSafe; }},
        {"options=\"opLeft|opTop\"",
         [](const TTestControl& c) {
             return c.FOptions == (TTestControl::opLeft | TTestControl::opTop);
         }},
        {"options=\"[opRight, opTop]\"",
         [](const TTestControl& c) {
             return c.FOptions == (TTestControl::opRight | TTestControl::opTop);
         }},
        // Names, unknown and read-only properties are passed over.
        {"Name=\"renamed\" objectName=\"renamed\" text=\"kept name\"",
         [](const TTestControl& c) {
             return !c.objectName().startsWith(QStringLiteral("renamed")) &&
                    c.FText == QStringLiteral("kept name");
         }},
        {"noSuchProperty=\"1\" fixed=\"x\" text=\"ok\"",
         [](const TTestControl& c) { return c.FText == QStringLiteral("ok"); }},
        // A value that does not fit ends its element: later attributes are not set.
        {"number=\"5\" mode=\"mdNoSuch\" text=\"after\"",
         [](const TTestControl& c) {
             return c.FNumber == 5 && c.FText == QStringLiteral("initial");
         }},
        {"number=\"clNoSuch\" text=\"after\"",
         [](const TTestControl& c) { return c.FText == QStringLiteral("initial"); }},
        {"big=\"huge\" text=\"after\"",
         [](const TTestControl& c) { return c.FText == QStringLiteral("initial"); }},
        {"flag=\"maybe\" text=\"after\"",
         [](const TTestControl& c) { return c.FText == QStringLiteral("initial"); }},
    };
    QString elements;
    std::vector<TTestControl*> components;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString name = QStringLiteral("c%1").arg(i);
        elements += QStringLiteral("<%1 %2/>").arg(name, QString::fromLatin1(cases[i].attributes));
        components.push_back(new TTestControl(name, &FWindow));
    }
    SelectForms(QStringLiteral("<frmAbout>%1</frmAbout>").arg(elements));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(cases[i].holds(*components[i])) << cases[i].attributes;
}

TEST_F(LanguageApplyTest, AppliesChildElementsThroughPropertiesAndComponents)
{
    FPanel->MakeInner();
    SelectForms(QStringLiteral("<frmAbout><pnlMain text=\"Panel\">"
                               "<inner text=\"Inner\"/>"
                               "<lines>first\nsecond\n</lines>"
                               "<lblTitle text=\"Nested\"><lblOther text=\"Deeper\"/></lblTitle>"
                               "</pnlMain></frmAbout>"));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FPanel->FText, QStringLiteral("Panel"));
    EXPECT_EQ(static_cast<TTestControl*>(FPanel->Inner())->FText, QStringLiteral("Inner"));
    EXPECT_EQ(FPanel->FLines, QStringList({QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_EQ(FLabel->FText, QStringLiteral("Nested"));
    EXPECT_EQ(FOther->FText, QStringLiteral("Deeper"));
}

TEST_F(LanguageApplyTest, AControlThatTranslatesAnObjectItselfIsLeftAlone)
{
    FPanel->FOwnsTranslationOf = QStringLiteral("lblTitle");
    SelectForms(QStringLiteral("<frmAbout><lblTitle text=\"Hello\"/><lblOther text=\"Other\"/>"
                               "</frmAbout>"));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FLabel->FText, QStringLiteral("initial"));
    EXPECT_EQ(FOther->FText, QStringLiteral("Other"));
}

TEST_F(LanguageApplyTest, BroadcastsTheChangeDepthFirst)
{
    FLabel->FAnswersChanged = true;
    SelectForms(QStringLiteral("<frmAbout/>"));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(FBroadcast, QStringList({
                              QStringLiteral("frmAbout:changed 1033"),
                              QStringLiteral("pnlMain:changed 1033"),
                              QStringLiteral("pnlMain:refresh"),
                              QStringLiteral("lblTitle:changed 1033"),
                              QStringLiteral("lblOther:changed 1033"),
                              QStringLiteral("lblOther:refresh"),
                          }));
}

TEST_F(LanguageApplyTest, AWindowThatAppliesAgainWhileNotifiedIsNotNotifiedTwice)
{
    int nested = 0;
    FWindow.FOnChanged = [&] {
        if (nested++ == 0)
            FManager.ApplyLanguage(&FWindow);
    };
    SelectForms(QStringLiteral("<frmAbout text=\"About\"/>"));
    ASSERT_TRUE(FManager.ApplyLanguage(&FWindow));
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(FBroadcast.count(QStringLiteral("frmAbout:changed 1033")), 1);
}

} // namespace
