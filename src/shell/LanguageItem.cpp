#include "shell/LanguageItem.h"

#include "shell/LanguageXml.h"
#include "shell/LocaleDisplayName.h"
#include "shell/PathUtils.h"
#include "shell/SameText.h"

#include <QFileInfo>

namespace {

int DecimalAttribute(const pugi::xml_node& node, const char* name)
{
    bool ok = false;
    const int value = AttributeText(node, name).trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

void ReadFont(const pugi::xml_node& element, TLanguageFont& font)
{
    if (const auto charset = CharsetFromName(AttributeText(element, "Charset")))
        font.charset = *charset;
    if (const QString name = AttributeText(element, "Name"); !name.isEmpty())
        font.name = name;
    bool ok = false;
    if (const int size = AttributeText(element, "Size").trimmed().toInt(&ok); ok)
        font.size = size;
    // An unreadable colour keeps the previous one rather than losing the whole language.
    if (const QString color = AttributeText(element, "Color"); !color.isEmpty()) {
        if (const auto value = StringToColor(color))
            font.color = *value;
    }
    font.style = FontStylesFromText(AttributeText(element, "Style"));
}

} // namespace

TLanguageItem::TLanguageItem(TLanguageList* owner, const QString& fileName, const QString& fullPath)
    : FOwner(owner), FFileName(fileName), FFullPath(fullPath),
      FFolder(WithTrailingBackslash(QFileInfo(fullPath).absolutePath()))
{
}

TLanguageItem::~TLanguageItem() = default;

bool TLanguageItem::Load()
{
    if (!FDocument)
        FDocument = ParseXmlFile(FFullPath);
    if (!FDocument)
        return false;
    const pugi::xml_node root = FDocument->document_element();
    if (!SameText(XmlText(root.name()), QString::fromLatin1(kLanguageResourceRoot))) {
        ReleaseDocument();
        return false;
    }
    ReadFields(root);
    ReadDefaults(root);
    ClearCache();
    return true;
}

void TLanguageItem::ReadFields(const pugi::xml_node& root)
{
    FId = AttributeText(root, "Id");
    FName = AttributeText(root, "name");
    FLocaleName = AttributeText(root, "LocaleName");
    FLangID = DecimalAttribute(root, "LangID");
    FCodePage = DecimalAttribute(root, "CodePage");
    if (FLangID != 0) {
        if (const QString systemName = LocaleDisplayName(FLangID); !systemName.isEmpty())
            FLocaleName = systemName;
    }
}

void TLanguageItem::ReadDefaults(const pugi::xml_node& root)
{
    const pugi::xml_node defaults = root.child("Default");
    ReadFont(defaults.child("Font"), FFont);
    const QString helpFile = AttributeText(defaults.child("Help"), "file");
    FHelpFile = helpFile.isEmpty() ? QString() : FFolder + helpFile;
}

void TLanguageItem::ReleaseDocument()
{
    ClearCache();
    FDocument.reset();
}

void TLanguageItem::ClearCache()
{
    FCachedPath.clear();
    FCachedNode = pugi::xml_node();
}

pugi::xml_node TLanguageItem::Root() const
{
    return FDocument ? FDocument->document_element() : pugi::xml_node();
}

pugi::xml_node TLanguageItem::Strings() const
{
    return Root().child("Strings");
}

pugi::xml_node TLanguageItem::SelectNode(const QString& path)
{
    if (!FDocument)
        return {};
    if (path == FCachedPath)
        return FCachedNode;
    FCachedPath = path;
    try {
        FCachedNode = FDocument->select_node(path.toUtf8().constData()).node();
    } catch (const pugi::xpath_exception&) {
        FCachedNode = pugi::xml_node();
    }
    return FCachedNode;
}
