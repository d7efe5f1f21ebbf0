#include "shell/LanguageMgr.h"
#include "shell/LanguageXml.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The language files installed beside the program (copied from resources/Languages).
QString ShippedFile(const char* name)
{
    return ApplicationFolder() + QStringLiteral("Languages/") + QString::fromLatin1(name);
}

QMap<QString, QString> StringsOf(const QString& path)
{
    QMap<QString, QString> strings;
    const auto document = ParseXmlFile(path);
    if (!document)
        return strings;
    for (const pugi::xml_node& node : document->document_element().child("Strings").children()) {
        if (node.type() == pugi::node_element)
            strings.insert(XmlText(node.name()), XmlText(node.text().get()));
    }
    return strings;
}

// Every translatable place of the windows: "form/component/attribute" (and the column titles),
// with its text.
QMap<QString, QString> FormTextsOf(const QString& path)
{
    QMap<QString, QString> texts;
    const auto document = ParseXmlFile(path);
    if (!document)
        return texts;
    for (const pugi::xml_node& form : document->document_element().child("Forms").children()) {
        for (const pugi::xml_node& component : form.children()) {
            const QString place = XmlText(form.name()) + u'/' + XmlText(component.name()) + u'/';
            for (const pugi::xml_attribute& attribute : component.attributes())
                texts.insert(place + XmlText(attribute.name()), XmlText(attribute.value()));
            int column = 0;
            for (const pugi::xml_node& title : component.child("Columns").children("Column"))
                texts.insert(place + QStringLiteral("Column%1").arg(++column),
                             XmlText(title.attribute("Caption").value()));
        }
    }
    return texts;
}

QStringList ShippedLanguageFiles()
{
    return QDir(ApplicationFolder() + QStringLiteral("Languages"))
        .entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
}

QStringList Placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[sd]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.append(match.captured());
    return found;
}

TEST(LanguageFilesTest, EnglishHoldsEveryStringTheProgramUses)
{
    const QMap<QString, QString> english = StringsOf(ShippedFile("English.dat"));
    // Key and the arguments its text is formatted with.
    const QMap<QString, QStringList> used = {
        {QStringLiteral("AppName"), {}},
        {QStringLiteral("sAll"), {}},
        {QStringLiteral("sInvalidPath"), {}},
        {QStringLiteral("sCreatePath"), {}},
        {QStringLiteral("sCreatePathErr"), {}},
        {QStringLiteral("sDirSelect"), {}},
        {QStringLiteral("sFileNotFound"), {QStringLiteral("%s")}},
        {QStringLiteral("sFileAlreadyExists"), {QStringLiteral("%s")}},
        {QStringLiteral("sNotPdfFile"), {QStringLiteral("%s")}},
        {QStringLiteral("sReInputPass"), {}},
        {QStringLiteral("sDragFileLimit"), {}},
        {QStringLiteral("sBadPDFBookMark"), {}},
        {QStringLiteral("sFileSizeSet"), {QStringLiteral("%s")}},
        {QStringLiteral("sFileTotalPageSet"), {QStringLiteral("%s")}},
        {QStringLiteral("sFilePageError"), {}},
        {QStringLiteral("sFileNameSet"), {QStringLiteral("%s")}},
        {QStringLiteral("sInvalidSelPages"), {}},
        {QStringLiteral("sFileCountLimit"), {QStringLiteral("%d")}},
        {QStringLiteral("sInvalidFileName"), {}},
        {QStringLiteral("sNoFileExists"), {}},
        {QStringLiteral("sInitPageError"), {}},
        {QStringLiteral("sCancelConverting"), {}},
        {QStringLiteral("sSplitFinished"), {}},
        {QStringLiteral("sFileconvertFaild"), {}},
        {QStringLiteral("sExitProgram"), {}},
    };
    for (auto it = used.cbegin(); it != used.cend(); ++it) {
        ASSERT_TRUE(english.contains(it.key())) << it.key().toStdString();
        EXPECT_FALSE(english[it.key()].trimmed().isEmpty()) << it.key().toStdString();
        EXPECT_EQ(Placeholders(english[it.key()]), it.value()) << it.key().toStdString();
    }
}

// Every language file holds every string and window text of English, none empty, with the same
// arguments, and names a help page that is there.
TEST(LanguageFilesTest, EveryLanguageHasTheSameTextsAndArguments)
{
    const QMap<QString, QString> english = StringsOf(ShippedFile("English.dat"));
    const QMap<QString, QString> englishForms = FormTextsOf(ShippedFile("English.dat"));
    ASSERT_FALSE(english.isEmpty());
    ASSERT_FALSE(englishForms.isEmpty());
    const QStringList files = ShippedLanguageFiles();
    ASSERT_GE(files.size(), 2);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = ApplicationFolder() + QStringLiteral("Languages/") + file;
        const QMap<QString, QString> strings = StringsOf(path);
        EXPECT_EQ(strings.keys(), english.keys());
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            EXPECT_FALSE(strings.value(it.key()).trimmed().isEmpty()) << it.key().toStdString();
            EXPECT_EQ(Placeholders(strings.value(it.key())), Placeholders(it.value()))
                << it.key().toStdString();
        }
        // The planner asks for all pages with this word.
        EXPECT_EQ(strings.value(QStringLiteral("sAll")), QStringLiteral("All"));
        const QMap<QString, QString> forms = FormTextsOf(path);
        EXPECT_EQ(forms.keys(), englishForms.keys());
        for (auto it = forms.cbegin(); it != forms.cend(); ++it)
            EXPECT_FALSE(it.value().trimmed().isEmpty()) << it.key().toStdString();

        const auto document = ParseXmlFile(path);
        ASSERT_TRUE(document);
        const QString help = XmlText(
            document->document_element().child("Default").child("Help").attribute("file").value());
        EXPECT_TRUE(QFileInfo(QFileInfo(path).dir().filePath(help)).isFile()) << help.toStdString();
    }
}

TEST(LanguageFilesTest, BothLanguagesLoadAndSelect)
{
    TLanguageMgr manager;
    ASSERT_GE(manager.LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
    ASSERT_TRUE(manager.SelectLanguage(QStringLiteral("deu")));
    EXPECT_EQ(manager.GetLangString(QStringLiteral("AppName")), QStringLiteral("PDF-Splitter"));
    EXPECT_EQ(manager.Current()->LocaleName(), QStringLiteral("German (Germany)"));
    ASSERT_TRUE(manager.SelectLanguage(QStringLiteral("ENG")));
    EXPECT_EQ(manager.GetLangString(QStringLiteral("AppName")), QStringLiteral("PDF Splitter"));
    EXPECT_EQ(manager.Current()->Font().name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(manager.Current()->Font().size, 9);

    // The windows read the selected language too.
    EXPECT_EQ(GetFormsLangString(QStringLiteral("sExitProgram")),
              manager.GetLangString(QStringLiteral("sExitProgram")));
    EXPECT_EQ(GetFormsLangString(QStringLiteral("sNoSuchString"), QStringLiteral("kept")),
              QStringLiteral("kept"));
}

} // namespace
