#pragma once

// The persistence framework under every model object: the project, its documents, the split
// settings and the page map.
//
// A persistent class is a Q_GADGET whose Q_PROPERTY list, base classes first and each class in
// declaration order, is what the framework copies (Assign), saves, loads and dumps (AsText).
// A property's type decides how it is treated:
// - pointer to a class derived from TProjObj or TBaseObjList: a sub-object or sub-list, owned
//   by the object (declare it as a TSubObject member, so it exists from construction on and is
//   freed with the object);
// - int, Q_ENUM enumeration, bool, double, QString: a value, copied, saved and loaded;
// - qint64: saved, but neither copied nor loaded;
// - any other type (a QStringList, for example): left alone.
//
// Every persistent class
// - derives from TProjObj or TBaseObjList by single inheritance (the framework hands the
//   object's address to Qt as the address of whichever class in the chain declares a property);
// - begins with Q_GADGET followed by PROJ_CLASS, which gives the dynamic type through the
//   virtual metaObject();
// - is registered in its unit with TProjClassRegistration, which refuses at compile time a
//   class that lacks either line and lets lists create its instances by class name.
//
// The model classes take no locks; a project and everything it owns belong to one thread at a
// time.

#include <QByteArrayView>
#include <QMetaObject>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace pugi {
class xml_node;
}

// Errors of the framework. The application never loads a project file, so they reach the user
// only through a caller that does.
class EProjError : public std::runtime_error
{
public:
    explicit EProjError(const QString& message);
};

// A property value that does not fit its property (an unknown enumeration identifier).
class EPropertyError : public EProjError
{
public:
    using EProjError::EProjError;
};

// A class name that no persistent class is registered under.
class EClassNotFound : public EProjError
{
public:
    using EProjError::EProjError;
};

// A list index out of range, or an object used as a list item that has no list.
class EListError : public EProjError
{
public:
    using EProjError::EProjError;
};

// An object assigned from an object of an unrelated class.
class EConvertError : public EProjError
{
public:
    using EProjError::EProjError;
};

// A project file that cannot be read, parsed or written.
class EFileError : public EProjError
{
public:
    using EProjError::EProjError;
};

// Gives a persistent class its dynamic type; placed right after Q_GADGET.
#define PROJ_CLASS                                                                                 \
public:                                                                                            \
    const QMetaObject* metaObject() const override                                                 \
    {                                                                                              \
        return &staticMetaObject;                                                                  \
    }                                                                                              \
                                                                                                   \
private:

// What persistent objects and persistent lists have in common: an owner to report changes to,
// and a dynamic type with published properties.
class TPersistent
{
    Q_GADGET

public:
    virtual ~TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    virtual const QMetaObject* metaObject() const { return &staticMetaObject; }
    QString ClassName() const;

    TPersistent* Owner() const { return FOwner; }

    bool Modified() const { return FModified; }
    bool Loading() const { return FLoading; }

    virtual void Changed() = 0;
    virtual QString AsText() const = 0;
    virtual void SaveToNode(pugi::xml_node node) const = 0;
    virtual void LoadFromNode(pugi::xml_node node) = 0;

protected:
    explicit TPersistent(TPersistent* owner) : FOwner(owner) {}

    void SetOwner(TPersistent* owner) { FOwner = owner; }
    void MarkModified() { FModified = true; }

    // Sets Loading for the lifetime of the guard; a load that throws leaves Loading False, so
    // later changes are reported again.
    class TLoadingGuard
    {
    public:
        explicit TLoadingGuard(TPersistent& object) : FObject(object) { FObject.FLoading = true; }
        ~TLoadingGuard() { FObject.FLoading = false; }
        TLoadingGuard(const TLoadingGuard&) = delete;
        TLoadingGuard& operator=(const TLoadingGuard&) = delete;

    private:
        TPersistent& FObject;
    };

private:
    friend class TBaseObjList;

    TPersistent* FOwner;
    bool FModified = false;
    bool FLoading = false;
};

class TProjObj;
using TNotifyEvent = std::function<void(TProjObj* sender)>;

// The persistent object.
class TProjObj : public TPersistent
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TProjObj(TPersistent* owner = nullptr) : TPersistent(owner) {}

    // Copies the published properties of source, which must be of this class or derived from
    // it, then reports the change. Sub-objects and sub-lists are assigned in turn; 64-bit
    // integers and properties of other classes are not copied. OnChange is copied too.
    virtual void Assign(const TProjObj& source);

    // Marks the object modified, calls OnChange and passes the change on to the owner; does
    // nothing while loading.
    void Changed() override;

    // One "<Name>value</Name>" line per published property, joined by CR LF; nothing is
    // escaped, and a property of another class has an empty value.
    QString AsText() const override;
    void SaveToNode(pugi::xml_node node) const override;
    void LoadFromNode(pugi::xml_node node) override;

    // Position in the owning list; EListError when the owner is not a list.
    int Index() const;
    // Removes this object from its owning list, which frees it.
    void Delete();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

private:
    TNotifyEvent FOnChange;
};

class TProjClass;
template <class T>
const TProjClass& ProjClass();

// The persistent list: owns its items, each a TProjObj, and reports every structural change.
class TBaseObjList : public TPersistent
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TBaseObjList(TPersistent* owner = nullptr) : TPersistent(owner) {}
    ~TBaseObjList() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError when i is out of range.
    TProjObj* Items(int i) const;
    int IndexOf(const TProjObj* item) const;

    // Takes the item over, makes this list its owner and reports the change through the item.
    int Add(std::unique_ptr<TProjObj> item);
    void Insert(int i, std::unique_ptr<TProjObj> item);
    // Free the item(s), then report the change.
    void Delete(int i);
    void Clear();
    void Move(int from, int to);
    void Exchange(int i, int j);

    // Replaces the items by copies of source's items, each of its item's own class.
    virtual void Assign(const TBaseObjList& source);

    void Changed() override;
    QString AsText() const override;
    void SaveToNode(pugi::xml_node node) const override;
    // Each child element names the registered class of the item to create.
    void LoadFromNode(pugi::xml_node node) override;

protected:
    void LoadItems(pugi::xml_node node, const TProjClass* itemClass);

private:
    void CheckIndex(int i) const;
    void FreeItems();

    std::vector<std::unique_ptr<TProjObj>> FItems;
};

// A list whose items are all of one class, ItemClass, which its constructor sets.
class TProjObjList : public TBaseObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TProjObjList(TPersistent* owner = nullptr) : TBaseObjList(owner) {}

    const TProjClass* ItemClass() const { return FItemClass; }

    // Creates an instance of ItemClass owned by the list and appends it.
    TProjObj* NewItem();

    // Creates items of ItemClass whatever the child elements are called.
    void LoadFromNode(pugi::xml_node node) override;

protected:
    template <class T>
    void SetItemClass()
    {
        static_assert(std::is_base_of_v<TProjObj, T>, "list items are persistent objects");
        FItemClass = &ProjClass<T>();
    }

private:
    const TProjClass* FItemClass = nullptr;
};

// The project root: the document element of a project file is named ProjectName.
class TBaseProj : public TProjObj
{
    Q_GADGET
    PROJ_CLASS

public:
    TBaseProj() : TProjObj(nullptr) {}

    const QString& ProjectName() const { return FProjectName; }
    void SetProjectName(const QString& name) { FProjectName = name; }
    // The program version of the last SaveToFile or LoadFromFile.
    const QString& Version() const { return FVersion; }

    // Also copies ProjectName.
    void Assign(const TProjObj& source) override;

    // UTF-8 XML with indented elements; the file is replaced only once it is complete.
    void SaveToFile(const QString& path);
    // The root element's name is not checked.
    void LoadFromFile(const QString& path);

private:
    QString FProjectName = QStringLiteral("ProjName");
    QString FVersion;
};

enum class TVersionForm
{
    Short,
    Long
};

// The file version of the executable at path as "major.minor.release" (Short) or
// "major.minor.release.build" (Long); empty when the file has no version resource.
QString GetFileVersionText(const QString& path, TVersionForm form);

// ---------------------------------------------------------------------------------------------
// Class registry: the "virtual constructor" of each persistent class, found by class name or
// by meta-object.

class TProjClass
{
public:
    using TFactory = std::unique_ptr<TPersistent> (*)(TPersistent* owner);

    TProjClass(const QMetaObject& metaObject, TFactory factory)
        : FMetaObject(&metaObject), FFactory(factory)
    {
    }

    const QMetaObject& MetaObject() const { return *FMetaObject; }
    QString ClassName() const;
    bool IsObjectClass() const;

    std::unique_ptr<TPersistent> Create(TPersistent* owner) const { return FFactory(owner); }
    // For object classes only.
    std::unique_ptr<TProjObj> CreateObject(TPersistent* owner) const;

private:
    const QMetaObject* FMetaObject;
    TFactory FFactory;
};

void RegisterProjClass(const TProjClass& projClass);
// nullptr when no class is registered under the name or meta-object.
const TProjClass* FindProjClass(QByteArrayView className);
const TProjClass* FindProjClass(const QMetaObject& metaObject);
// The registered classes, in no particular order.
std::vector<const TProjClass*> RegisteredProjClasses();

namespace ProjClassDetail {

template <class T>
std::unique_ptr<TPersistent> Construct(TPersistent* owner)
{
    if constexpr (std::is_constructible_v<T, TPersistent*>)
        return std::make_unique<T>(owner);
    else
        return std::make_unique<T>();
}

} // namespace ProjClassDetail

// The registered class of T, registered on first use.
template <class T>
const TProjClass& ProjClass()
{
    static_assert(std::is_base_of_v<TProjObj, T> || std::is_base_of_v<TBaseObjList, T>,
                  "a persistent class derives from TProjObj or TBaseObjList");
    static_assert(std::is_same_v<decltype(&T::qt_check_for_QGADGET_macro), void (T::*)()>,
                  "a persistent class begins with Q_GADGET");
    static_assert(std::is_same_v<decltype(&T::metaObject), const QMetaObject* (T::*)() const>,
                  "a persistent class declares PROJ_CLASS after Q_GADGET");
    static const TProjClass projClass(T::staticMetaObject, &ProjClassDetail::Construct<T>);
    [[maybe_unused]] static const bool registered = (RegisterProjClass(projClass), true);
    return projClass;
}

// Registers the classes of a unit when the program starts: one namespace-scope instance per
// unit, listing its classes.
template <class... T>
struct TProjClassRegistration
{
    TProjClassRegistration() { (ProjClass<T>(), ...); }
};

// A sub-object or sub-list of a persistent object: created with the object, with the object
// as its owner, and freed with it. Nobody replaces it afterwards.
template <class T>
class TSubObject
{
public:
    explicit TSubObject(TPersistent* owner) : FObject(std::make_unique<T>(owner))
    {
        ProjClass<T>();
    }

    T* get() const { return FObject.get(); }
    T* operator->() const { return FObject.get(); }
    T& operator*() const { return *FObject; }

private:
    std::unique_ptr<T> FObject;
};
