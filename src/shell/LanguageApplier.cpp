#include "shell/LanguageApplier.h"

#include "shell/LanguageEvents.h"
#include "shell/LanguageHooks.h"
#include "shell/LanguageItem.h"
#include "shell/LanguageProperty.h"
#include "shell/LanguageXml.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace {

// Element nesting beyond this is not followed; no window is that deep.
constexpr int kMaxDepth = 64;

class DepthGuard
{
public:
    explicit DepthGuard(int& depth) : FDepth(depth) { ++FDepth; }
    ~DepthGuard() { --FDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& FDepth;
};

// The object and, depth first, every object inside it that the filter admits.
template <typename Filter>
void CollectDepthFirst(QObject* object, QList<QPointer<QObject>>& found, Filter filter)
{
    if (filter(object))
        found.append(object);
    for (QObject* child : object->children())
        CollectDepthFirst(child, found, filter);
}

// Containers (objects that hold others) can translate the objects they hold.
QList<QPointer<QObject>> ContainersOf(QObject* window)
{
    QList<QPointer<QObject>> containers;
    CollectDepthFirst(window, containers, [window](QObject* object) {
        return object == window || !object->children().isEmpty();
    });
    return containers;
}

QList<QPointer<QObject>> ObjectsOf(QObject* window)
{
    QList<QPointer<QObject>> objects;
    CollectDepthFirst(window, objects, [](QObject*) { return true; });
    return objects;
}

QObject* FindComponent(QObject* owner, const QString& name)
{
    // An empty name would match the first unnamed object.
    if (!owner || name.isEmpty())
        return nullptr;
    return owner->findChild<QObject*>(name);
}

struct PropertyTarget
{
    QObject* object = nullptr;
    QObject* listOwner = nullptr;
    std::optional<QMetaProperty> stringList;
};

// Follows a dot-separated path of object-valued properties from the object; the last step
// gives an object or a text-list property.
PropertyTarget ResolvePropertyPath(QObject* object, const QString& path)
{
    const QStringList steps = path.split(QLatin1Char('.'));
    QObject* current = object;
    for (qsizetype i = 0; i < steps.size() && current; ++i) {
        const QMetaObject* metaObject = current->metaObject();
        const int index = metaObject->indexOfProperty(steps[i].toUtf8().constData());
        if (index < 0)
            return {};
        const QMetaProperty property = metaObject->property(index);
        const bool last = i == steps.size() - 1;
        if (property.metaType().flags() & QMetaType::PointerToQObject) {
            current = property.read(current).value<QObject*>();
            if (last)
                return {current, nullptr, std::nullopt};
            continue;
        }
        if (last && property.metaType().id() == QMetaType::QStringList)
            return {nullptr, current, property};
        return {};
    }
    return {};
}

} // namespace

TLanguageApplier::TLanguageApplier(TLanguageItem& item, QObject* window)
    : FItem(item), FWindow(window)
{
}

void TLanguageApplier::Apply()
{
    ApplyLanguageFont(FWindow, FItem.Font());
    if (const pugi::xml_node windowElement = FindWindowElement()) {
        ApplyElement(FWindow, windowElement, false, 0);
        for (const pugi::xml_node& child : windowElement.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (QObject* component = FindComponent(FWindow, ComponentName(child)))
                ApplyElement(component, child, true, 1);
        }
    }
    BroadcastChange();
}

// The root's own spelling fills the paths, so that a root written in another letter case
// finds its windows too.
pugi::xml_node TLanguageApplier::FindWindowElement()
{
    const QString root = XmlText(FItem.Root().name());
    const QString name = FWindow->objectName();
    if (!IsXmlName(root))
        return {};
    if (IsXmlName(name)) {
        if (const pugi::xml_node byName =
                FItem.SelectNode(QStringLiteral("/%1/Forms/%2").arg(root, name)))
            return byName;
    }
    const QString className = QString::fromLatin1(FWindow->metaObject()->className());
    if (!IsXmlName(className) || name.contains(QLatin1Char('"')))
        return {};
    const pugi::xml_node byClass =
        FItem.SelectNode(QStringLiteral("/%1/Forms/%2[@name=\"%3\"]").arg(root, className, name));
    if (byClass)
        FItem.SetUsesNameAttribute();
    return byClass;
}

QString TLanguageApplier::ComponentName(const pugi::xml_node& element) const
{
    if (FItem.UsesNameAttribute()) {
        if (const QString name = AttributeText(element, "name"); !name.isEmpty())
            return name;
    }
    return XmlText(element.name());
}

void TLanguageApplier::ApplyElement(QObject* object, const pugi::xml_node& element,
                                    bool withChildren, int depth)
{
    if (depth > kMaxDepth || TranslatedByAControl(object))
        return;
    try {
        for (const pugi::xml_attribute& attribute : element.attributes())
            SetPropertyFromText(object, XmlText(attribute.name()), XmlText(attribute.value()));
        if (!withChildren)
            return;
        for (const pugi::xml_node& child : element.children()) {
            if (child.type() == pugi::node_element)
                ApplyChild(object, child, depth);
        }
    } catch (const std::exception&) {
        // A value that does not fit ends this element; the rest of the window goes on.
    }
}

void TLanguageApplier::ApplyChild(QObject* object, const pugi::xml_node& child, int depth)
{
    const QString name = ComponentName(child);
    const PropertyTarget target = ResolvePropertyPath(object, name);
    if (target.object) {
        ApplyElement(target.object, child, true, depth + 1);
        return;
    }
    if (target.stringList) {
        if (!target.stringList->write(target.listOwner, ListContentLines(child)))
            throw TLanguageValueError("A text list refused its lines");
        return;
    }
    QObject* component = FindComponent(FWindow, name);
    if (!component && object != FWindow)
        component = FindComponent(object, name);
    if (component) {
        ApplyElement(component, child, true, depth + 1);
        return;
    }
    if (name == QLatin1String("Items"))
        ApplyListContent(object, TListContentKind::Items, ListContentLines(child));
    else if (name == QLatin1String("Columns"))
        ApplyListContent(object, TListContentKind::Columns, ListContentLines(child));
}

bool TLanguageApplier::TranslatedByAControl(QObject* object)
{
    if (FItem.QueryDepth() > 0)
        return false;
    DepthGuard guard(FItem.QueryDepth());
    for (const QPointer<QObject>& container : ContainersOf(FWindow)) {
        if (!container)
            continue;
        TLanguageEvent query(LangQueryMessage, object, 0, &FItem);
        QCoreApplication::sendEvent(container, &query);
        if (query.Result() != 0)
            return true;
    }
    return false;
}

void TLanguageApplier::BroadcastChange()
{
    if (FItem.BroadcastDepth() > 0)
        return;
    DepthGuard guard(FItem.BroadcastDepth());
    for (const QPointer<QObject>& object : ObjectsOf(FWindow)) {
        if (!object)
            continue;
        TLanguageEvent changed(LangChangedMessage, nullptr, FItem.LangID(), &FItem);
        QCoreApplication::sendEvent(object, &changed);
        if (changed.Result() != 0 || object == FWindow || !object)
            continue;
        TLanguageEvent refresh(LangRefreshMessage, nullptr, 0, nullptr);
        QCoreApplication::sendEvent(object, &refresh);
    }
}
