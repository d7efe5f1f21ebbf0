#pragma once

#include "engine/ComPtr.h"

#include <atomic>
#include <tuple>
#include <utility>

// Reference counting and QueryInterface for a class that implements the listed interfaces.
// Create objects with MakeComObject; they delete themselves on the last Release.
template <class... Interfaces>
class ComObject : public Interfaces...
{
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT ENGINE_CALL QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown)
            *object = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
        else if (!(FindInterface<Interfaces>(iid, object) || ...))
            QueryPrivate(iid, object);
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    ULONG ENGINE_CALL AddRef() override { return ++references_; }

    ULONG ENGINE_CALL Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // An implementation may answer further identifiers (for example its own class, to let
    // the module recognise its objects). Set *object without taking a reference.
    virtual bool QueryPrivate(REFIID /*iid*/, void** /*object*/) { return false; }

private:
    using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;

    template <class Interface>
    bool FindInterface(REFIID iid, void** object)
    {
        if (!(iid == InterfaceId<Interface>::value))
            return false;
        *object = static_cast<Interface*>(this);
        return true;
    }

    std::atomic<ULONG> references_{1};
};

// Creates an object whose single reference the returned pointer holds.
template <class T, class... Args>
ComPtr<T> MakeComObject(Args&&... args)
{
    return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}
