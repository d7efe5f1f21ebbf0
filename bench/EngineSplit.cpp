// Splits a PDF into one output per page through the document engine's interfaces, the way the
// program's conversion run drives it: every page-done notification closes the finished output
// and starts the next copy from inside the notification.
//
//   EngineSplit <input.pdf> <output folder>
//
// Used by EngineSplitBench to compare the engine with `qpdf --split-pages=1`.

#include "engine/ComObject.h"
#include "engine/DocEngine.h"
#include "engine/EngineLoader.h"
#include "shell/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

std::u16string Wide(const QString& text)
{
    return text.toStdU16String();
}

std::int32_t FindPdfAdapter(IEnumCtrl& root)
{
    std::int32_t count = 0;
    root.EnumAdapters(Wide(ApplicationFolder() + QStringLiteral("plugins")).c_str(), &count);
    ComPtr<IEnumAdapterKeys> keys;
    root.GetAdapterEnum(keys.put());
    std::int32_t key = 0;
    while (keys && keys->Next(1, &key, nullptr) == S_OK) {
        TFileObjectInfo info{};
        if (SUCCEEDED(root.GetAdapterInfo(key, &info)) &&
            QString::fromUtf16(info.FileType) == QLatin1String(".pdf"))
            return key;
    }
    return 0;
}

// Opens one output after the other and copies page n into output n.
class PerPageSplit final : public ComObject<IOperationNotify>
{
public:
    PerPageSplit(IEnumCtrl& root, std::int32_t key, ComPtr<IDocObject> input, int pages,
                 QString stem)
        : root_(root), key_(key), input_(std::move(input)), pages_(pages), stem_(std::move(stem))
    {
    }

    // Runs the split; false when an output could not be opened or the engine reported errors.
    bool run(IOperationCtrl& operation)
    {
        operation_ = &operation;
        if (!startPage(1))
            return false;
        std::unique_lock<std::mutex> lock(mutex_);
        finishedChanged_.wait(lock, [this] { return finished_; });
        return errors_ == 0;
    }

    HRESULT ENGINE_CALL OnNotify(std::int32_t kind, const std::int32_t* data) override
    {
        if (kind == kNotifyLibraryError || kind == kNotifyError) {
            std::fprintf(stderr, "engine error %d on page %d\n", data[1], page_);
            ++errors_;
        } else if (kind == kNotifyEvent && data[1] == kEventPageDone) {
            output_->Close();
            if (page_ == pages_ || !startPage(page_ + 1))
                finish();
        }
        return S_OK;
    }

private:
    bool startPage(int page)
    {
        page_ = page;
        output_.reset();
        root_.CreateDocObject(key_, output_.put());
        output_->Control(kControlRunOptions, kRunOptionsOfRun);
        std::int32_t result = 0;
        const QString name = stem_ + QStringLiteral("(%1).pdf").arg(page);
        if (FAILED(output_->Open(Wide(name).c_str(), kOpenCreate, &result)) || result < 0) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(name));
            ++errors_;
            return false;
        }
        operation_->SetDocuments(input_.get(), output_.get());
        operation_->CopyPages(page, page);
        return true;
    }

    void finish()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        finishedChanged_.notify_all();
    }

    IEnumCtrl& root_;
    const std::int32_t key_;
    const ComPtr<IDocObject> input_;
    const int pages_;
    const QString stem_;
    IOperationCtrl* operation_ = nullptr;
    ComPtr<IDocObject> output_;
    int page_ = 0;
    int errors_ = 0;
    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
};

int Split(const QString& inputPath, const QString& folder)
{
    ComPtr<IEnumCtrl> root = CreateEngineEnumCtrl();
    const std::int32_t key = root ? FindPdfAdapter(*root) : 0;
    if (key == 0) {
        std::fprintf(stderr, "the engine or its PDF adapter is missing\n");
        return 2;
    }
    ComPtr<IDocObject> input;
    root->CreateDocObject(key, input.put());
    input->Control(kControlRunOptions, kRunOptionsOfRun);
    const std::u16string name = Wide(inputPath);
    TPasswdInfo passwords{name.c_str(), u"", u"", -1};
    ControlRecord(*input, kControlPageCount, &passwords);
    std::int32_t pages = 0;
    input->Open(name.c_str(), kOpenRead, &pages);
    if (pages <= 0) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(inputPath));
        return 2;
    }
    ComPtr<IOperationCtrl> operation;
    root->CreateOperation(input.get(), nullptr, operation.put());
    const QString stem = QDir(folder).filePath(QFileInfo(inputPath).completeBaseName());
    auto split = MakeComObject<PerPageSplit>(*root, key, input, pages, stem);
    std::int32_t cookie = 0;
    operation->Advise(split.get(), &cookie);
    const bool ok = split->run(*operation);
    operation->Unadvise(cookie);
    input->Close();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: EngineSplit <input.pdf> <output folder>\n");
        return 2;
    }
    return Split(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
}
