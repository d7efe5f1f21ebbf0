#include "shell/FormsLanguageFile.h"

#include "shell/LanguageXml.h"
#include "shell/PathUtils.h"
#include "shell/SameText.h"

TFormsLanguageFile::TFormsLanguageFile(const QString& path) : FDocument(ParseXmlFile(path))
{
    if (!FDocument)
        return;
    for (const pugi::xml_node& node : FDocument->children()) {
        if (node.type() == pugi::node_element &&
            SameText(XmlText(node.name()), QString::fromLatin1(kLanguageResourceRoot))) {
            FRoot = node;
            break;
        }
    }
    FStrings = FRoot.child("Strings");
    FForms = FRoot.child("Forms");
}

TFormsLanguageFile::~TFormsLanguageFile() = default;

QString TFormsLanguageFile::FormsLanguageFile()
{
    return ApplicationFolder() + QStringLiteral("Languages/English.dat");
}

const TFormsLanguageFile& TFormsLanguageFile::Shared()
{
    static const TFormsLanguageFile file(FormsLanguageFile());
    return file;
}
