#pragma once

// Helpers of the engine tests: the engine loaded as the program loads it, documents made with
// the PDF library, outputs read back, and a notification sink that records what it is told.

#include "engine/ComObject.h"
#include "engine/DocEngine.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

std::u16string Wide(const QString& text);

// The real PDFs of tests/data and their manifest. A file that is not there fails the test
// that asks for it: these tests must never pass by not running.
QString CorpusFolder();
QString CorpusFile(const QString& name);

// Tests that talk to the engine module loaded from the test program's folder.
class EngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static IEnumCtrl& Root();
    static std::int32_t PdfKey();
    static ComPtr<IDocObject> NewDocument();
    static ComPtr<IOperationCtrl> NewOperation();

    // Open helpers answering the engine's result value.
    static std::int32_t OpenForReading(IDocObject& document, const QString& path);
    static std::int32_t OpenForWriting(IDocObject& document, const QString& path);
    static std::int32_t EncryptTypeOf(const QString& path);
    static std::int32_t PageCountOf(const QString& path, const QString& userPassword = {},
                                    const QString& ownerPassword = {});
    static std::int32_t PageCountOn(IDocObject& document, const QString& path,
                                    const QString& userPassword = {},
                                    const QString& ownerPassword = {});
};

// Records notifications; tests wait for the events they expect.
class NotifyRecorder final : public ComObject<IOperationNotify>
{
public:
    struct Entry
    {
        std::int32_t kind;
        std::int32_t first;
        std::int32_t second;
        std::thread::id thread;
    };
    using Reaction = std::function<void(std::int32_t kind, std::int32_t first, std::int32_t second)>;

    NotifyRecorder() = default;

    HRESULT ENGINE_CALL OnNotify(std::int32_t kind, const std::int32_t* data) override;

    // Called inside every notification, on the engine's thread, before it is recorded.
    void setReaction(Reaction reaction);

    // Waits until count kNotifyEvent notifications with this event have arrived.
    bool waitForEvent(std::int32_t event, int count = 1,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));
    int eventCount(std::int32_t event) const;
    std::vector<Entry> entries() const;
    // The error codes of kinds 1 and 2, in order.
    std::vector<std::int32_t> errors() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    Reaction reaction_;
};

// One operation with a recorder advised on it; copies and waits for each page-done event.
class CopySession
{
public:
    CopySession();
    ~CopySession();

    IOperationCtrl& operation() { return *operation_; }
    NotifyRecorder& recorder() { return *recorder_; }

    // SetDocuments and CopyPages; true when the page-done event came.
    bool copy(IDocObject& input, IDocObject& output, int first, int last);

private:
    ComPtr<IOperationCtrl> operation_;
    ComPtr<NotifyRecorder> recorder_;
    std::int32_t cookie_ = 0;
    int copies_ = 0;
};

// A destination for a generated bookmark.
enum class DestKind
{
    Direct,          // /Dest [page /XYZ left top null] (or the given type)
    NamedDictionary, // /Dest (name) -> name tree -> << /D [...] >>
    GoToAction,      // /A << /S /GoTo /D [...] >>
    Remote,          // /A << /S /GoToR /F (other.pdf) /D [0 /Fit] >>: no page here
    None,            // no destination at all
};

struct OutlineSpec
{
    std::string title;
    int page = -1; // 0-based
    DestKind kind = DestKind::Direct;
    std::string type = "/XYZ";
    double left = 72;
    double top = 720;
    std::vector<OutlineSpec> children;
};

// A bookmark to page (0-based) whose destination starts at top, with its children.
OutlineSpec Mark(const char* title, int page, double top = 720, std::vector<OutlineSpec> children = {});
// The same at the top of its page.
OutlineSpec Mark(const char* title, int page, std::vector<OutlineSpec> children);

// A document of pageCount letter pages; page i shows "Page i+1", so every page has its own
// content. rotations gives /Rotate per page (missing entries: none).
void WriteTestPdf(const QString& path, int pageCount, const std::vector<OutlineSpec>& outline = {},
                  const std::vector<int>& rotations = {});

// The content stream data of every page of a PDF, in page order.
std::vector<std::string> PageContents(const QString& path, const QString& password = {});

// The page numbers a document made by WriteTestPdf shows ("Page n"), in page order; -1 for a
// page that shows none.
std::vector<int> PageNumbersOf(const QString& path);

// Files in a folder, hidden ones included.
QStringList FilesIn(const QString& folder);
