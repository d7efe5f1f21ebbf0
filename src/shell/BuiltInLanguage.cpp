#include "shell/BuiltInLanguage.h"

#include "shell/LanguageXml.h"

namespace {

const pugi::xml_node& BuiltInStrings()
{
    static const std::unique_ptr<pugi::xml_document> document =
        ParseXmlFile(QStringLiteral(":/BuiltIn/English.dat"));
    static const pugi::xml_node strings =
        document ? document->document_element().child("Strings") : pugi::xml_node();
    return strings;
}

} // namespace

QString BuiltInLangString(const QString& name)
{
    // The all-pages word is a setting of the installed language, not a text to show: without
    // one, the empty page selection is the one that takes all pages.
    if (name == QLatin1String("sAll"))
        return {};
    return XmlText(BuiltInStrings().child(name.toUtf8().constData()).text().get());
}
