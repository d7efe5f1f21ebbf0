#include "EnumCtrl.h"

#include "AdapterKeyEnum.h"
#include "ComGuard.h"
#include "OperationCtrl.h"
#include "PdfDocObject.h"
#include "WideText.h"

HRESULT EnumCtrl::EnumAdapters(const char16_t* pluginsFolder, std::int32_t* count)
{
    if (count == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        AdapterCatalog catalog = AdapterCatalog::Read(FromWide(pluginsFolder));
        std::lock_guard<std::mutex> lock(mutex_);
        catalog_ = std::move(catalog);
        *count = static_cast<std::int32_t>(catalog_.adapters().size());
        return S_OK;
    });
}

HRESULT EnumCtrl::GetAdapterEnum(IEnumAdapterKeys** keys)
{
    if (keys == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        std::vector<std::int32_t> adapterKeys;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const AdapterInfo& adapter : catalog_.adapters())
                adapterKeys.push_back(adapter.key);
        }
        *keys = MakeComObject<AdapterKeyEnum>(std::move(adapterKeys)).detach();
        return S_OK;
    });
}

HRESULT EnumCtrl::GetAdapterInfo(std::int32_t key, TFileObjectInfo* info)
{
    if (info == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        std::lock_guard<std::mutex> lock(mutex_);
        const AdapterInfo* adapter = catalog_.find(key);
        if (adapter == nullptr)
            return E_INVALIDARG;
        CopyToBuffer(adapter->description, info->Description);
        CopyToBuffer(adapter->fileType, info->FileType);
        CopyToBuffer(adapter->version, info->Version);
        info->Capabilities = adapter->capabilities;
        info->Key = adapter->key;
        return S_OK;
    });
}

HRESULT EnumCtrl::CreateDocObject(std::int32_t key, IDocObject** document)
{
    if (document == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        std::lock_guard<std::mutex> lock(mutex_);
        const AdapterInfo* adapter = catalog_.find(key);
        if (adapter == nullptr)
            return E_INVALIDARG;
        *document = MakeComObject<PdfDocObject>(adapter->capabilities).detach();
        return S_OK;
    });
}

HRESULT EnumCtrl::CreateOperation(IDocObject* input, IDocObject* output,
                                  IOperationCtrl** operation)
{
    if (operation == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        *operation = MakeComObject<OperationCtrl>(input, output).detach();
        return S_OK;
    });
}
