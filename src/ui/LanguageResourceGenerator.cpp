#include "ui/LanguageResourceGenerator.h"

#include "shell/LanguageXml.h"
#include "ui/LanguageWidgets.h"
#include "ui/WindowRegistry.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QObject>
#include <QSaveFile>
#include <QVariant>

#include <optional>

namespace {

class ByteArrayWriter : public pugi::xml_writer
{
public:
    explicit ByteArrayWriter(QByteArray& target) : FTarget(target) {}
    void write(const void* data, size_t size) override
    {
        FTarget.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }

private:
    QByteArray& FTarget;
};

bool IsComponent(const QObject* object)
{
    const QString name = object->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QString ClassName(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// A name as an element name: characters that no element name may hold become "_".
QByteArray ElementName(const QString& name)
{
    if (IsXmlName(name))
        return name.toUtf8();
    QString element = name;
    element.replace(QLatin1String("::"), QLatin1String("."));
    for (QChar& c : element) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('-') &&
            c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    if (!IsXmlName(element))
        element.prepend(QLatin1Char('_'));
    return element.toUtf8();
}

std::optional<int> IntegerOf(const QVariant& value)
{
    QVariant copy = value;
    if (!copy.convert(QMetaType::fromType<int>()))
        return std::nullopt;
    return copy.toInt();
}

std::optional<QString> EnumerationText(const QMetaProperty& property, const QVariant& value)
{
    const QMetaEnum enumerator = property.enumerator();
    const auto number = IntegerOf(value);
    if (!number)
        return std::nullopt;
    const QByteArray keys = enumerator.isFlag() ? enumerator.valueToKeys(*number)
                                                : QByteArray(enumerator.valueToKey(*number));
    if (keys.isEmpty() && !enumerator.isFlag())
        return std::nullopt;
    return QString::fromLatin1(keys);
}

// The property's value as an attribute text that a language file can set again.
std::optional<QString> PropertyText(const QMetaProperty& property, const QVariant& value)
{
    if (property.isEnumType())
        return EnumerationText(property, value);
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString:
    case QMetaType::QColor:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 17);
    default:
        return std::nullopt;
    }
}

bool IsWrittenProperty(const QMetaProperty& property)
{
    return property.isReadable() && property.isWritable() && property.isStored() &&
           qstrcmp(property.name(), "objectName") != 0;
}

} // namespace

TLanguageResourceGenerator::TLanguageResourceGenerator(TLanguageResourceKind kind) : FKind(kind)
{
    FForms = FDocument.append_child(kLanguageResourceRoot).append_child("Forms");
}

void TLanguageResourceGenerator::AddWindow(QObject* window)
{
    WriteObject(FForms, window);
}

void TLanguageResourceGenerator::AddRegisteredWindows(const TWindowRegistry& registry)
{
    for (const QString& className : registry.ClassNames()) {
        if (const std::unique_ptr<QWidget> window = registry.Create(className))
            AddWindow(window.get());
    }
}

void TLanguageResourceGenerator::WriteObject(pugi::xml_node parent, QObject* object)
{
    pugi::xml_node element;
    if (FKind == TLanguageResourceKind::MakeFormRes) {
        element = parent.append_child(ElementName(ClassName(object)).constData());
        if (!object->objectName().isEmpty())
            element.append_attribute("Name") = object->objectName().toUtf8().constData();
    } else {
        const QString name = object->objectName();
        element =
            parent.append_child(ElementName(name.isEmpty() ? ClassName(object) : name).constData());
    }
    WriteProperties(element, object);
    WriteListContent(element, object);
    WriteNamedChildren(element, object);
}

void TLanguageResourceGenerator::WriteNamedChildren(pugi::xml_node element, QObject* object)
{
    for (QObject* child : object->children()) {
        if (IsComponent(child))
            WriteObject(element, child);
        else
            WriteNamedChildren(element, child);
    }
}

void TLanguageResourceGenerator::WriteProperties(pugi::xml_node element, QObject* object) const
{
    const QMetaObject* metaObject = object->metaObject();
    for (int i = 0; i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        if (!IsWrittenProperty(property))
            continue;
        const bool isText = property.metaType().id() == QMetaType::QString;
        if (FKind == TLanguageResourceKind::MakeLangRes && !isText)
            continue;
        const auto text = PropertyText(property, property.read(object));
        if (!text || (FKind == TLanguageResourceKind::MakeLangRes && text->isEmpty()))
            continue;
        element.append_attribute(property.name()) = text->toUtf8().constData();
    }
}

void TLanguageResourceGenerator::WriteListContent(pugi::xml_node element, QObject* object)
{
    const auto content = ReadWidgetListContent(object);
    if (!content)
        return;
    const bool items = content->kind == TListContentKind::Items;
    pugi::xml_node list = element.append_child(items ? "Items" : "Columns");
    for (const QString& line : content->lines)
        list.append_child(items ? "Item" : "Column").append_attribute("Caption") =
            line.toUtf8().constData();
}

QByteArray TLanguageResourceGenerator::ToXml() const
{
    QByteArray xml;
    ByteArrayWriter writer(xml);
    FDocument.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return xml;
}

bool TLanguageResourceGenerator::SaveToFile(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray xml = ToXml();
    return file.write(xml) == xml.size() && file.commit();
}
