#include "model/BaseProj.h"

#include "shell/SameText.h"
#include "shell/VersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QSaveFile>
#include <QStringList>
#include <QVariant>

#include <pugixml.hpp>

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// How the framework treats a published property, by its type.
enum class TPropKind
{
    SubObject, // pointer to a TProjObj class
    SubList,   // pointer to a TBaseObjList class
    Integer,
    Enumeration,
    Boolean,
    Float,
    Text,
    Int64, // saved and dumped only
    Other  // any other class or type: left alone
};

TPropKind KindOf(const QMetaProperty& property)
{
    const QMetaType type = property.metaType();
    if (type.flags().testFlag(QMetaType::PointerToGadget)) {
        const QMetaObject* declared = type.metaObject();
        if (declared != nullptr && declared->inherits(&TProjObj::staticMetaObject))
            return TPropKind::SubObject;
        if (declared != nullptr && declared->inherits(&TBaseObjList::staticMetaObject))
            return TPropKind::SubList;
        return TPropKind::Other;
    }
    if (type.flags().testFlag(QMetaType::IsEnumeration))
        return property.isFlagType() ? TPropKind::Other : TPropKind::Enumeration;
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return TPropKind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return TPropKind::Int64;
    case QMetaType::Bool:
        return TPropKind::Boolean;
    case QMetaType::Double:
    case QMetaType::Float:
        return TPropKind::Float;
    case QMetaType::QString:
        return TPropKind::Text;
    default:
        return TPropKind::Other;
    }
}

bool IsCopiedValue(TPropKind kind)
{
    switch (kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
    case TPropKind::Float:
    case TPropKind::Text:
        return true;
    case TPropKind::SubObject:
    case TPropKind::SubList:
    case TPropKind::Int64:
    case TPropKind::Other:
        break;
    }
    return false;
}

// Every persistent class derives from TPersistent by single inheritance, so an object's
// address is also the address of each class in its chain: Qt's gadget calls take it as such,
// and a sub-object pointer read from a property can be taken as the base class pointer.
template <class T>
T* ObjectProperty(const QMetaProperty& property, const TPersistent& object)
{
    const QVariant value = property.readOnGadget(&object);
    return static_cast<T*>(*static_cast<void* const*>(value.constData()));
}

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString FloatText(double value)
{
    return NumberLocale().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString ValueText(const QMetaProperty& property, TPropKind kind, const QVariant& value)
{
    switch (kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
        return value.toString();
    case TPropKind::Enumeration: {
        const int ordinal = value.toInt();
        const char* key = property.enumerator().valueToKey(ordinal);
        return key != nullptr ? QString::fromLatin1(key) : QString::number(ordinal);
    }
    case TPropKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TPropKind::Float:
        return FloatText(value.toDouble());
    case TPropKind::Text:
        return value.toString();
    case TPropKind::SubObject:
    case TPropKind::SubList:
    case TPropKind::Other:
        break;
    }
    return {};
}

EPropertyError InvalidValue(const QMetaProperty& property, const QString& text)
{
    return EPropertyError(QStringLiteral("Invalid property value \"%1\" for %2")
                              .arg(text, QString::fromLatin1(property.name())));
}

// Identifiers compare with only A-Z folded. An enumeration of another class or namespace is
// found when the property names its type with the scope (DefineShare::TFileFormat).
int EnumValue(const QMetaProperty& property, const QString& identifier)
{
    const QMetaEnum enumeration = property.enumerator();
    for (int i = 0; i < enumeration.keyCount(); ++i) {
        if (SameText(QString::fromLatin1(enumeration.key(i)), identifier))
            return enumeration.value(i);
    }
    throw InvalidValue(property, identifier);
}

bool BooleanValue(const QMetaProperty& property, const QString& identifier)
{
    if (SameText(identifier, u"True"))
        return true;
    if (SameText(identifier, u"False"))
        return false;
    throw InvalidValue(property, identifier);
}

// The value that the text of a saved leaf element stands for; numbers that do not convert
// read as 0.
QVariant ParsedValue(const QMetaProperty& property, TPropKind kind, const QString& text)
{
    bool ok = false;
    switch (kind) {
    case TPropKind::Integer: {
        const int value = text.toInt(&ok);
        return ok ? value : 0;
    }
    case TPropKind::Enumeration: {
        QVariant value(EnumValue(property, text));
        value.convert(property.metaType());
        return value;
    }
    case TPropKind::Boolean:
        return BooleanValue(property, text);
    case TPropKind::Float: {
        const double value = NumberLocale().toDouble(text, &ok);
        return ok ? value : 0.0;
    }
    case TPropKind::Text:
        return text;
    case TPropKind::SubObject:
    case TPropKind::SubList:
    case TPropKind::Int64:
    case TPropKind::Other:
        break;
    }
    return {};
}

void WriteValue(const QMetaProperty& property, TPersistent& object, QVariant value)
{
    if (!property.isWritable())
        return;
    if (!property.writeOnGadget(&object, std::move(value)))
        throw EPropertyError(QStringLiteral("Cannot write property %1 of %2")
                                 .arg(QString::fromLatin1(property.name()), object.ClassName()));
}

QString Tagged(const QString& name, const QString& value)
{
    return u'<' + name + u'>' + value + QStringLiteral("</") + name + u'>';
}

const QString& LineBreak()
{
    static const QString text = QStringLiteral("\r\n");
    return text;
}

QString NodeText(pugi::xml_node node)
{
    return QString::fromUtf8(node.text().get());
}

class TByteArrayWriter : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override
    {
        FData.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }

    const QByteArray& Data() const { return FData; }

private:
    QByteArray FData;
};

struct TClassRegistry
{
    std::mutex Mutex;
    std::map<std::string, const TProjClass*, std::less<>> ByName;
    std::unordered_map<const QMetaObject*, const TProjClass*> ByMetaObject;
};

TClassRegistry& ClassRegistry()
{
    static TClassRegistry registry;
    return registry;
}

} // namespace

EProjError::EProjError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString TPersistent::ClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

// ---------------------------------------------------------------------------------------------
// TProjObj

void TProjObj::Assign(const TProjObj& source)
{
    const QMetaObject* meta = metaObject();
    if (!source.metaObject()->inherits(meta))
        throw EConvertError(
            QStringLiteral("Cannot assign a %1 to a %2").arg(source.ClassName(), ClassName()));
    if (&source != this) {
        FOnChange = source.FOnChange;
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const TPropKind kind = KindOf(property);
            if (kind == TPropKind::SubObject) {
                TProjObj* target = ObjectProperty<TProjObj>(property, *this);
                const TProjObj* from = ObjectProperty<TProjObj>(property, source);
                if (target != nullptr && from != nullptr)
                    target->Assign(*from);
            } else if (kind == TPropKind::SubList) {
                TBaseObjList* target = ObjectProperty<TBaseObjList>(property, *this);
                const TBaseObjList* from = ObjectProperty<TBaseObjList>(property, source);
                if (target != nullptr && from != nullptr)
                    target->Assign(*from);
            } else if (IsCopiedValue(kind)) {
                WriteValue(property, *this, property.readOnGadget(&source));
            }
        }
    }
    Changed();
}

void TProjObj::Changed()
{
    if (Loading())
        return;
    MarkModified();
    if (FOnChange)
        FOnChange(this);
    if (Owner() != nullptr)
        Owner()->Changed();
}

QString TProjObj::AsText() const
{
    const QMetaObject* meta = metaObject();
    QStringList lines;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const TPropKind kind = KindOf(property);
        QString value;
        if (kind == TPropKind::SubObject || kind == TPropKind::SubList) {
            if (const TPersistent* sub = ObjectProperty<TPersistent>(property, *this))
                value = sub->AsText();
        } else {
            value = ValueText(property, kind, property.readOnGadget(this));
        }
        lines.append(Tagged(QString::fromLatin1(property.name()), value));
    }
    return lines.join(LineBreak());
}

void TProjObj::SaveToNode(pugi::xml_node node) const
{
    const QMetaObject* meta = metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const TPropKind kind = KindOf(property);
        if (kind == TPropKind::Other)
            continue;
        pugi::xml_node child = node.append_child(property.name());
        if (kind == TPropKind::SubObject || kind == TPropKind::SubList) {
            if (const TPersistent* sub = ObjectProperty<TPersistent>(property, *this))
                sub->SaveToNode(child);
        } else {
            const QString text = ValueText(property, kind, property.readOnGadget(this));
            child.text().set(text.toUtf8().constData());
        }
    }
}

void TProjObj::LoadFromNode(pugi::xml_node node)
{
    {
        const TLoadingGuard loading(*this);
        const QMetaObject* meta = metaObject();
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const int index = meta->indexOfProperty(child.name());
            if (index < 0)
                continue;
            const QMetaProperty property = meta->property(index);
            const TPropKind kind = KindOf(property);
            if (kind == TPropKind::SubObject || kind == TPropKind::SubList) {
                if (TPersistent* sub = ObjectProperty<TPersistent>(property, *this))
                    sub->LoadFromNode(child);
            } else if (IsCopiedValue(kind)) {
                WriteValue(property, *this, ParsedValue(property, kind, NodeText(child)));
            }
        }
    }
    MarkModified();
}

int TProjObj::Index() const
{
    const auto* list = dynamic_cast<const TBaseObjList*>(Owner());
    if (list == nullptr)
        throw EListError(QStringLiteral("%1 is not owned by a list").arg(ClassName()));
    return list->IndexOf(this);
}

void TProjObj::Delete()
{
    auto* list = dynamic_cast<TBaseObjList*>(Owner());
    if (list == nullptr)
        throw EListError(QStringLiteral("%1 is not owned by a list").arg(ClassName()));
    list->Delete(list->IndexOf(this));
}

// ---------------------------------------------------------------------------------------------
// TBaseObjList

TBaseObjList::~TBaseObjList()
{
    FreeItems();
}

void TBaseObjList::FreeItems()
{
    for (std::unique_ptr<TProjObj>& item : FItems)
        item.reset();
    FItems.clear();
}

void TBaseObjList::CheckIndex(int i) const
{
    if (i < 0 || i >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
}

TProjObj* TBaseObjList::Items(int i) const
{
    CheckIndex(i);
    return FItems[static_cast<size_t>(i)].get();
}

int TBaseObjList::IndexOf(const TProjObj* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item)
            return static_cast<int>(i);
    }
    return -1;
}

int TBaseObjList::Add(std::unique_ptr<TProjObj> item)
{
    Insert(Count(), std::move(item));
    return Count() - 1;
}

void TBaseObjList::Insert(int i, std::unique_ptr<TProjObj> item)
{
    if (i < 0 || i > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    if (!item)
        throw EListError(QStringLiteral("A list item cannot be empty"));
    TProjObj* added = item.get();
    added->SetOwner(this);
    FItems.insert(FItems.begin() + i, std::move(item));
    added->Changed();
}

void TBaseObjList::Delete(int i)
{
    CheckIndex(i);
    std::unique_ptr<TProjObj> item = std::move(FItems[static_cast<size_t>(i)]);
    FItems.erase(FItems.begin() + i);
    item.reset();
    Changed();
}

void TBaseObjList::Clear()
{
    FreeItems();
    Changed();
}

void TBaseObjList::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from != to) {
        std::unique_ptr<TProjObj> item = std::move(FItems[static_cast<size_t>(from)]);
        FItems.erase(FItems.begin() + from);
        FItems.insert(FItems.begin() + to, std::move(item));
    }
    Changed();
}

void TBaseObjList::Exchange(int i, int j)
{
    CheckIndex(i);
    CheckIndex(j);
    std::swap(FItems[static_cast<size_t>(i)], FItems[static_cast<size_t>(j)]);
    Changed();
}

void TBaseObjList::Assign(const TBaseObjList& source)
{
    // Emptying the list first would lose the items that are to be copied.
    if (&source == this)
        return;
    FreeItems();
    for (const std::unique_ptr<TProjObj>& from : source.FItems) {
        const TProjClass* itemClass = FindProjClass(*from->metaObject());
        if (itemClass == nullptr)
            throw EClassNotFound(QStringLiteral("Class %1 not found").arg(from->ClassName()));
        std::unique_ptr<TProjObj> item = itemClass->CreateObject(this);
        item->Assign(*from);
        Add(std::move(item));
    }
}

void TBaseObjList::Changed()
{
    if (Loading())
        return;
    MarkModified();
    if (Owner() != nullptr)
        Owner()->Changed();
}

QString TBaseObjList::AsText() const
{
    QStringList lines;
    for (const std::unique_ptr<TProjObj>& item : FItems)
        lines.append(Tagged(item->ClassName(), item->AsText()));
    return lines.join(LineBreak());
}

void TBaseObjList::SaveToNode(pugi::xml_node node) const
{
    for (const std::unique_ptr<TProjObj>& item : FItems)
        item->SaveToNode(node.append_child(item->metaObject()->className()));
}

void TBaseObjList::LoadFromNode(pugi::xml_node node)
{
    LoadItems(node, nullptr);
}

void TBaseObjList::LoadItems(pugi::xml_node node, const TProjClass* itemClass)
{
    {
        const TLoadingGuard loading(*this);
        FreeItems();
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const TProjClass* projClass =
                itemClass != nullptr ? itemClass : FindProjClass(QByteArrayView(child.name()));
            if (projClass == nullptr || !projClass->IsObjectClass())
                throw EClassNotFound(
                    QStringLiteral("Class %1 not found").arg(QString::fromUtf8(child.name())));
            std::unique_ptr<TProjObj> item = projClass->CreateObject(this);
            item->LoadFromNode(child);
            Add(std::move(item));
        }
    }
    MarkModified();
}

// ---------------------------------------------------------------------------------------------
// TProjObjList

TProjObj* TProjObjList::NewItem()
{
    if (FItemClass == nullptr)
        throw EClassNotFound(QStringLiteral("%1 has no item class").arg(ClassName()));
    std::unique_ptr<TProjObj> item = FItemClass->CreateObject(this);
    TProjObj* added = item.get();
    Add(std::move(item));
    return added;
}

void TProjObjList::LoadFromNode(pugi::xml_node node)
{
    if (FItemClass == nullptr)
        throw EClassNotFound(QStringLiteral("%1 has no item class").arg(ClassName()));
    LoadItems(node, FItemClass);
}

// ---------------------------------------------------------------------------------------------
// TBaseProj

void TBaseProj::Assign(const TProjObj& source)
{
    TProjObj::Assign(source);
    if (const auto* project = dynamic_cast<const TBaseProj*>(&source))
        FProjectName = project->FProjectName;
}

void TBaseProj::SaveToFile(const QString& path)
{
    const QString version =
        GetFileVersionText(QCoreApplication::applicationFilePath(), TVersionForm::Short);

    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child(FProjectName.toUtf8().constData());
    root.append_attribute("version") = version.toUtf8().constData();
    SaveToNode(root);

    TByteArrayWriter writer;
    document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.Data()) != writer.Data().size() ||
        !file.commit())
        throw EFileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    FVersion = version;
}

void TBaseProj::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();

    pugi::xml_document document;
    // A value of blanks only is kept as it was saved.
    const pugi::xml_parse_result result =
        document.load_buffer(data.constData(), static_cast<size_t>(data.size()),
                             pugi::parse_default | pugi::parse_ws_pcdata_single);
    const pugi::xml_node root = document.document_element();
    if (!result || !root)
        throw EFileError(QStringLiteral("%1 is not a project file: %2 at offset %3")
                             .arg(path, QString::fromUtf8(result.description()))
                             .arg(result.offset));
    FVersion = QString::fromUtf8(root.attribute("version").as_string());
    LoadFromNode(root);
}

QString GetFileVersionText(const QString& path, TVersionForm form)
{
    const QString text = ReadVersionString(path, QStringLiteral("FileVersion"));
    if (text.isEmpty())
        return {};
    const QStringList parts = text.split(u'.');
    int numbers[4] = {};
    for (qsizetype i = 0; i < 4 && i < parts.size(); ++i)
        numbers[i] = parts[i].toInt() & 0xFFFF;
    QString result = QStringLiteral("%1.%2.%3").arg(numbers[0]).arg(numbers[1]).arg(numbers[2]);
    if (form == TVersionForm::Long)
        result += u'.' + QString::number(numbers[3]);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Class registry

QString TProjClass::ClassName() const
{
    return QString::fromLatin1(FMetaObject->className());
}

bool TProjClass::IsObjectClass() const
{
    return FMetaObject->inherits(&TProjObj::staticMetaObject);
}

std::unique_ptr<TProjObj> TProjClass::CreateObject(TPersistent* owner) const
{
    if (!IsObjectClass())
        throw EClassNotFound(QStringLiteral("%1 is not an object class").arg(ClassName()));
    return std::unique_ptr<TProjObj>(static_cast<TProjObj*>(Create(owner).release()));
}

void RegisterProjClass(const TProjClass& projClass)
{
    TClassRegistry& registry = ClassRegistry();
    const std::lock_guard<std::mutex> lock(registry.Mutex);
    registry.ByName.emplace(projClass.MetaObject().className(), &projClass);
    registry.ByMetaObject.emplace(&projClass.MetaObject(), &projClass);
}

const TProjClass* FindProjClass(QByteArrayView className)
{
    TClassRegistry& registry = ClassRegistry();
    const std::lock_guard<std::mutex> lock(registry.Mutex);
    const auto found =
        registry.ByName.find(std::string_view(className.data(), size_t(className.size())));
    return found != registry.ByName.end() ? found->second : nullptr;
}

const TProjClass* FindProjClass(const QMetaObject& metaObject)
{
    TClassRegistry& registry = ClassRegistry();
    const std::lock_guard<std::mutex> lock(registry.Mutex);
    const auto found = registry.ByMetaObject.find(&metaObject);
    return found != registry.ByMetaObject.end() ? found->second : nullptr;
}

std::vector<const TProjClass*> RegisteredProjClasses()
{
    TClassRegistry& registry = ClassRegistry();
    const std::lock_guard<std::mutex> lock(registry.Mutex);
    std::vector<const TProjClass*> classes;
    for (const auto& [meta, projClass] : registry.ByMetaObject)
        classes.push_back(projClass);
    return classes;
}

namespace {
const TProjClassRegistration<TProjObj, TBaseObjList, TProjObjList, TBaseProj> kRegistration;
} // namespace
