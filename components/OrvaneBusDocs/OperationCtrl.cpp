#include "OperationCtrl.h"

#include "ComGuard.h"
#include "NotifySinks.h"
#include "OperationWorker.h"
#include "PdfDocObject.h"

OperationCtrl::OperationCtrl(IDocObject* input, IDocObject* output)
    : sinks_(std::make_shared<NotifySinks>()),
      worker_(OperationWorker::Create(sinks_)),
      input_(PdfDocObject::From(input)),
      output_(PdfDocObject::From(output))
{
}

OperationCtrl::~OperationCtrl()
{
    worker_->shutDown();
}

HRESULT OperationCtrl::Advise(IOperationNotify* sink, std::int32_t* cookie)
{
    if (sink == nullptr || cookie == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        *cookie = sinks_->add(sink);
        return S_OK;
    });
}

HRESULT OperationCtrl::Unadvise(std::int32_t cookie)
{
    return GuardedCall([&] { return sinks_->remove(cookie) ? S_OK : E_INVALIDARG; });
}

HRESULT OperationCtrl::CopyPages(std::int32_t first, std::int32_t last)
{
    return GuardedCall([&] {
        std::lock_guard<std::mutex> lock(documentsMutex_);
        // Workers that started after a pause are held as well.
        if (paused_ && input_)
            input_->pausePreparation();
        worker_->copyPages(input_, output_, first, last);
        return S_OK;
    });
}

HRESULT OperationCtrl::Pause()
{
    worker_->pause();
    std::lock_guard<std::mutex> lock(documentsMutex_);
    paused_ = true;
    if (input_)
        input_->pausePreparation();
    return S_OK;
}

HRESULT OperationCtrl::Resume()
{
    worker_->resume();
    std::lock_guard<std::mutex> lock(documentsMutex_);
    paused_ = false;
    if (input_)
        input_->resumePreparation();
    return S_OK;
}

HRESULT OperationCtrl::Stop()
{
    return GuardedCall([&] {
        worker_->stop();
        std::lock_guard<std::mutex> lock(documentsMutex_);
        if (input_)
            input_->stopPreparation();
        if (output_)
            output_->abandon();
        return S_OK;
    });
}

HRESULT OperationCtrl::Reserved()
{
    return E_NOTIMPL;
}

HRESULT OperationCtrl::SetDocuments(IDocObject* input, IDocObject* output)
{
    return GuardedCall([&] {
        ComPtr<PdfDocObject> newInput = PdfDocObject::From(input);
        ComPtr<PdfDocObject> newOutput = PdfDocObject::From(output);
        std::lock_guard<std::mutex> lock(documentsMutex_);
        std::swap(input_, newInput);
        std::swap(output_, newOutput);
        return S_OK;
    });
}

HRESULT OperationCtrl::SetThreading(std::int32_t model)
{
    if (model != kThreadingWorker && model != kThreadingCaller)
        return E_INVALIDARG;
    return worker_->setOnCallerThread(model == kThreadingCaller) ? S_OK : E_FAIL;
}
