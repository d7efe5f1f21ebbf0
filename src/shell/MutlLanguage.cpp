#include "shell/MutlLanguage.h"

#include "shell/BuiltInLanguage.h"
#include "shell/LanguageProperty.h"
#include "shell/LanguageXml.h"

#include <QObject>

#include <exception>

namespace {

void ApplyAttributes(QObject* component, const pugi::xml_node& element)
{
    for (const pugi::xml_attribute& attribute : element.attributes())
        SetPropertyFromText(component, XmlText(attribute.name()), XmlText(attribute.value()));
}

QObject* FindComponent(QObject* window, const QString& name)
{
    return name.isEmpty() ? nullptr : window->findChild<QObject*>(name);
}

} // namespace

TMutlLanguage::TMutlLanguage(QObject* window, const TFormsLanguageFile& file)
    : FWindow(window), FFile(file)
{
}

bool TMutlLanguage::GetFormsLangString(const QString& name, QString& value) const
{
    if (name.isEmpty())
        return false;
    const pugi::xml_node element = FFile.Strings().child(name.toUtf8().constData());
    if (!element)
        return false;
    value = XmlText(element.text().get());
    return true;
}

void TMutlLanguage::ApplyFormsLanguage()
{
    if (!FWindow)
        return;
    const pugi::xml_node windowElement = FFile.Forms().child(FWindow->metaObject()->className());
    for (const pugi::xml_node& element : windowElement.children()) {
        if (element.type() != pugi::node_element)
            continue;
        if (QObject* component = FindComponent(FWindow, XmlText(element.name())))
            ApplyComponent(component, element);
    }
}

void TMutlLanguage::ApplyComponent(QObject* component, const pugi::xml_node& element)
{
    try {
        ApplyAttributes(component, element);
        if (const pugi::xml_node items = element.child("Items"))
            ApplyListContent(component, TListContentKind::Items, ListContentLines(items));
        else if (const pugi::xml_node columns = element.child("Columns"))
            ApplyListContent(component, TListContentKind::Columns, ListContentLines(columns));
    } catch (const std::exception&) {
        // A value that does not fit ends this component; the others still take theirs.
    }
}

bool TMutlLanguage::ApplyListContent(QObject* component, TListContentKind kind,
                                     const QStringList& lines)
{
    return ::ApplyListContent(component, kind, lines);
}

QString GetFormsLangString(const QString& name, const QString& def)
{
    QString value = def;
    if (!TMutlLanguage().GetFormsLangString(name, value) && value.isEmpty())
        value = BuiltInLangString(name);
    return value;
}

void ApplyFormsLanguage(QObject* window)
{
    TMutlLanguage(window).ApplyFormsLanguage();
}
