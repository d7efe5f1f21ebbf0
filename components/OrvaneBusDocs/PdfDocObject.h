#pragma once

#include "OutputPreparer.h"
#include "engine/ComObject.h"
#include "engine/DocEngine.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>

class OperationWorker;
class PdfOutput;
class PdfSource;

// Identifies the engine's own document objects: QueryInterface with it gives the object
// itself (with a reference), so that an operation can tell them from foreign ones.
// {8CFC5864-01E3-4C5F-9757-30C1AA5B4E7E}
inline constexpr IID kPdfDocObjectClassId = {0x8CFC5864, 0x01E3, 0x4C5F,
                                             {0x97, 0x57, 0x30, 0xC1, 0xAA, 0x5B, 0x4E, 0x7E}};

// Raised when pages are appended to an object that is not an open, live output.
struct OutputNotOpen : std::exception
{
    const char* what() const noexcept override { return "the output is not open"; }
};

// A PDF document object: unopened, an input read into memory, or an output being put
// together. Its operations may be called from any thread; they serialise on the engine lock.
class PdfDocObject final : public ComObject<IDocObject>
{
public:
    explicit PdfDocObject(int capabilities);
    ~PdfDocObject() override;

    // The engine's document object behind an interface pointer; empty for foreign objects.
    static ComPtr<PdfDocObject> From(IDocObject* document);

    HRESULT ENGINE_CALL GetPageCount(std::int32_t* count) override;
    HRESULT ENGINE_CALL Open(const char16_t* fileName, std::int32_t mode,
                             std::int32_t* result) override;
    HRESULT ENGINE_CALL Close() override;
    HRESULT ENGINE_CALL Control(std::int32_t code, std::intptr_t argument) override;

    // The open input, or null.
    std::shared_ptr<PdfSource> inputSource();

    // Appends a page of the source to this output. Errors on this output are later reported
    // to events. Throws OutputNotOpen, or what the copy raises.
    void appendPage(const std::shared_ptr<PdfSource>& source, int index,
                    std::weak_ptr<OperationWorker> events);

    // From now on until it is opened again, Close writes nothing; an output made by workers
    // of the run is given up. Never blocks.
    void abandon();

    // On the input of a run: holds, lets go on, or ends the workers that make its outputs
    // (kControlJobs). Never block.
    void pausePreparation();
    void resumePreparation();
    void stopPreparation();

protected:
    bool QueryPrivate(REFIID iid, void** object) override;

private:
    enum class Mode
    {
        Closed,
        Reading,
        Writing,
    };

    void closeDocument();
    HRESULT closeOutput();
    std::int32_t openForReading(const QString& path);
    std::int32_t openForWriting(const QString& path);
    std::shared_ptr<PdfSource> reusableProbe(const QString& path, const QStringList& passwords);
    QStringList passwordsFor(const QString& path) const;

    HRESULT queryEncryption(TEncrypteInfo& info);
    HRESULT queryPageCount(TPasswdInfo& info);
    HRESULT answerOutlineNode(TOutlineNode& node);
    HRESULT answerOutlineDepth(std::int32_t& depth);
    HRESULT answerWarning(TDocWarning& warning) const;
    HRESULT takePageMap(const TPageMap& map);
    std::shared_ptr<OutputPreparer> preparer();
    std::shared_ptr<OutputPreparer> takePreparer();
    OutputPreparer::Claim claim();
    HRESULT closePreparedOutput(const OutputPreparer::Claim& claim);

    const int capabilities_;
    Mode mode_ = Mode::Closed;
    std::shared_ptr<PdfSource> input_;
    std::unique_ptr<PdfOutput> output_;
    std::atomic<bool> abandoned_{false};
    std::weak_ptr<OperationWorker> events_;
    int runOptions_ = 0;
    // Of the output this object wrote last, until it is opened again.
    QStringList warnings_;
    // The last document opened by a query or closed as an input, kept for an Open of the
    // same unchanged file.
    std::shared_ptr<PdfSource> probe_;
    // The passwords of the last page-count query, used by an Open of the same file.
    QString passwordFile_;
    QStringList passwords_;
    // How many outputs of a run its input lets workers make at once (kControlJobs).
    int jobs_ = 1;
    // The run's workers: an input holds the preparer, an output the claim on the file a worker
    // makes for it. Under their own lock, so that a stop reaches them without waiting.
    std::mutex preparationMutex_;
    std::shared_ptr<OutputPreparer> preparer_;
    OutputPreparer::Claim claim_;
    int pagesServed_ = 0; // of the claimed output, under the engine lock
};
