#include "shell/LanguageMgr.h"
#include "shell/LanguageXml.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"

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

TEST(LanguageFilesTest, EveryLanguageHasTheSameStringsAndArguments)
{
    const QMap<QString, QString> english = StringsOf(ShippedFile("English.dat"));
    const QMap<QString, QString> german = StringsOf(ShippedFile("German.dat"));
    ASSERT_FALSE(english.isEmpty());
    EXPECT_EQ(german.keys(), english.keys());
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        EXPECT_EQ(Placeholders(german.value(it.key())), Placeholders(it.value()))
            << it.key().toStdString();
    }
    // The planner asks for all pages with this word.
    EXPECT_EQ(english.value(QStringLiteral("sAll")), QStringLiteral("All"));
    EXPECT_EQ(german.value(QStringLiteral("sAll")), QStringLiteral("All"));
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

    // The forms applier always reads English.
    EXPECT_EQ(GetFormsLangString(QStringLiteral("sExitProgram")),
              manager.GetLangString(QStringLiteral("sExitProgram")));
    EXPECT_EQ(GetFormsLangString(QStringLiteral("sNoSuchString"), QStringLiteral("kept")),
              QStringLiteral("kept"));
}

} // namespace
