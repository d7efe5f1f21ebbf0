#pragma once

#include "engine/ComObject.h"
#include "engine/DocEngine.h"

#include <memory>
#include <mutex>

class NotifySinks;
class OperationWorker;
class PdfDocObject;

// Copies pages between two document objects on a worker thread of its own, or on the thread
// that made it (OperationWorker).
class OperationCtrl final : public ComObject<IOperationCtrl, IOperationThreading>
{
public:
    OperationCtrl(IDocObject* input, IDocObject* output);
    ~OperationCtrl() override;

    HRESULT ENGINE_CALL Advise(IOperationNotify* sink, std::int32_t* cookie) override;
    HRESULT ENGINE_CALL Unadvise(std::int32_t cookie) override;
    HRESULT ENGINE_CALL CopyPages(std::int32_t first, std::int32_t last) override;
    HRESULT ENGINE_CALL Pause() override;
    HRESULT ENGINE_CALL Resume() override;
    HRESULT ENGINE_CALL Stop() override;
    HRESULT ENGINE_CALL Reserved() override;
    HRESULT ENGINE_CALL SetDocuments(IDocObject* input, IDocObject* output) override;

    HRESULT ENGINE_CALL SetThreading(std::int32_t model) override;

private:
    const std::shared_ptr<NotifySinks> sinks_;
    const std::shared_ptr<OperationWorker> worker_;
    std::mutex documentsMutex_;
    ComPtr<PdfDocObject> input_;
    ComPtr<PdfDocObject> output_;
    bool paused_ = false; // under documentsMutex_
};
