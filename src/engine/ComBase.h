#pragma once

// A minimal COM-style object layer: status codes, class and interface identifiers, and
// reference-counted interfaces. The document engine and the program talk through it; there is
// no registry and no automation machinery. On Windows the system's own definitions are used,
// so objects stay binary compatible with real COM there.

#if defined(_WIN32)

#include <unknwn.h>
#define ENGINE_CALL STDMETHODCALLTYPE
#define ENGINE_EXPORT __declspec(dllexport)

#else

#include <cstdint>

#define ENGINE_CALL
#define ENGINE_EXPORT __attribute__((visibility("default")))

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i])
            return false;
    }
    return true;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);

constexpr bool SUCCEEDED(HRESULT status)
{
    return status >= 0;
}

constexpr bool FAILED(HRESULT status)
{
    return status < 0;
}

// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000,
                                     {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000001-0000-0000-C000-000000000046}
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000,
                                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Every interface starts with these three operations. AddRef and Release count references;
// the object deletes itself when the count drops to zero. Never delete through an interface.
struct IUnknown
{
    virtual HRESULT ENGINE_CALL QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG ENGINE_CALL AddRef() = 0;
    virtual ULONG ENGINE_CALL Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown
{
    // outer must be null: the engine's objects cannot be aggregated.
    virtual HRESULT ENGINE_CALL CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT ENGINE_CALL LockServer(int lock) = 0;

protected:
    ~IClassFactory() = default;
};

#endif

// The identifier of each interface, for typed queries (ComPtr::As). Specialised next to
// every interface declaration with ENGINE_INTERFACE_ID.
template <class Interface>
struct InterfaceId;

#define ENGINE_INTERFACE_ID(Interface, Iid)                                                     \
    template <>                                                                                \
    struct InterfaceId<Interface>                                                              \
    {                                                                                          \
        static constexpr const IID& value = Iid;                                               \
    }

ENGINE_INTERFACE_ID(IUnknown, IID_IUnknown);
ENGINE_INTERFACE_ID(IClassFactory, IID_IClassFactory);

// The entry point that the engine module exports under this name.
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
