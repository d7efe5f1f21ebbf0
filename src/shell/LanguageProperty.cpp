#include "shell/LanguageProperty.h"

#include "shell/LanguageColor.h"
#include "shell/SameText.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QObject>
#include <QVariant>

#include <optional>

namespace {

[[noreturn]] void Refuse(const QMetaProperty& property, const QString& value)
{
    throw TLanguageValueError(QStringLiteral("Property %1 does not take the value \"%2\"")
                                  .arg(QLatin1String(property.name()), value)
                                  .toStdString());
}

std::optional<QMetaProperty> FindProperty(const QMetaObject* metaObject, const QString& name)
{
    const QByteArray exact = name.toUtf8();
    if (const int index = metaObject->indexOfProperty(exact.constData()); index >= 0)
        return metaObject->property(index);
    for (int i = 0; i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        if (SameText(QString::fromLatin1(property.name()), name))
            return property;
    }
    return std::nullopt;
}

QVariant EnumerationValue(const QMetaProperty& property, const QString& value)
{
    const QMetaEnum enumerator = property.enumerator();
    bool ok = false;
    int number = 0;
    if (enumerator.isFlag()) {
        QString keys = value.trimmed();
        if (keys.startsWith(QLatin1Char('[')) && keys.endsWith(QLatin1Char(']')))
            keys = keys.mid(1, keys.size() - 2);
        keys.replace(QLatin1Char(','), QLatin1Char('|')).remove(QLatin1Char(' '));
        number = keys.isEmpty() ? 0 : enumerator.keysToValue(keys.toUtf8().constData(), &ok);
        ok = ok || keys.isEmpty();
    } else {
        number = enumerator.keyToValue(value.trimmed().toUtf8().constData(), &ok);
    }
    if (!ok)
        Refuse(property, value);
    return number;
}

QVariant IntegerValue(const QMetaProperty& property, const QString& value)
{
    bool ok = false;
    const qint64 number = value.trimmed().toLongLong(&ok, 10);
    if (ok)
        return number;
    if (!value.trimmed().startsWith(QLatin1String("cl"), Qt::CaseInsensitive))
        return 0;
    const auto color = ColorFromName(value.trimmed());
    if (!color)
        Refuse(property, value);
    return *color;
}

QVariant ColorValue(const QMetaProperty& property, const QString& value)
{
    if (value.trimmed().startsWith(QLatin1Char('#')))
        return value.trimmed();
    const auto color = StringToColor(value);
    const auto html = color ? ColorToHtml(*color) : std::nullopt;
    if (!html)
        Refuse(property, value);
    return *html;
}

QVariant BooleanValue(const QMetaProperty& property, const QString& value)
{
    const QString text = value.trimmed();
    if (SameText(text, u"true") || text == QLatin1String("1"))
        return true;
    if (SameText(text, u"false") || text == QLatin1String("0"))
        return false;
    Refuse(property, value);
}

template <typename Parse>
QVariant CheckedNumber(const QMetaProperty& property, const QString& value, Parse parse)
{
    bool ok = false;
    const auto number = parse(value.trimmed(), &ok);
    if (!ok)
        Refuse(property, value);
    return QVariant::fromValue(number);
}

// The value to write, or none for the kinds of property that texts do not set.
std::optional<QVariant> ValueFor(const QMetaProperty& property, const QString& value)
{
    if (property.isEnumType())
        return EnumerationValue(property, value);
    switch (property.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return IntegerValue(property, value);
    case QMetaType::LongLong:
        return CheckedNumber(property, value,
                             [](const QString& text, bool* ok) { return text.toLongLong(ok, 10); });
    case QMetaType::ULongLong:
        return CheckedNumber(property, value, [](const QString& text, bool* ok) {
            return text.toULongLong(ok, 10);
        });
    case QMetaType::Double:
    case QMetaType::Float:
        return CheckedNumber(property, value,
                             [](const QString& text, bool* ok) { return text.toDouble(ok); });
    case QMetaType::Bool:
        return BooleanValue(property, value);
    case QMetaType::QString:
        return value;
    case QMetaType::QColor:
        return ColorValue(property, value);
    default:
        return std::nullopt;
    }
}

} // namespace

bool IsComponentNameAttribute(const QString& name)
{
    return SameText(name, u"Name") || SameText(name, u"objectName");
}

bool SetPropertyFromText(QObject* object, const QString& name, const QString& value)
{
    if (!object || IsComponentNameAttribute(name))
        return false;
    const auto property = FindProperty(object->metaObject(), name);
    if (!property || !property->isWritable())
        return false;
    const auto converted = ValueFor(*property, value);
    if (!converted)
        return false;
    if (!property->write(object, *converted))
        Refuse(*property, value);
    return true;
}
