#include "shell/LanguageXml.h"

#include "shell/RegularFile.h"

namespace {

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNameChar(QChar c)
{
    return IsNameStart(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.');
}

bool HasChildElement(const pugi::xml_node& node)
{
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element)
            return true;
    }
    return false;
}

} // namespace

QString XmlText(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString AttributeText(const pugi::xml_node& node, const char* name)
{
    return XmlText(node.attribute(name).value());
}

std::unique_ptr<pugi::xml_document> ParseXmlFile(const QString& path)
{
    const auto data = ReadRegularFile(path);
    if (!data)
        return nullptr;
    auto document = std::make_unique<pugi::xml_document>();
    if (!document->load_buffer(data->constData(), static_cast<size_t>(data->size())))
        return nullptr;
    return document;
}

bool IsXmlName(const QString& name)
{
    if (name.isEmpty() || !IsNameStart(name.front()))
        return false;
    for (const QChar c : name) {
        if (!IsNameChar(c))
            return false;
    }
    return true;
}

QStringList ListContentLines(const pugi::xml_node& element)
{
    if (!HasChildElement(element)) {
        // As a text list reads its whole text: a final line break ends the last line.
        QString text = XmlText(element.text().get());
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    QStringList lines;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_element)
            lines.append(AttributeText(child, "Caption"));
    }
    return lines;
}
