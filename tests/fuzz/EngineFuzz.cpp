// Opens arbitrary bytes as a PDF with the document engine, as the program does (encryption,
// page count, open), walks the whole outline tree through the node requests of the split
// planner, and copies the first page into an output that is written. Nothing may crash or
// hang, whatever the bytes.

#include "PdfDocObject.h"
#include "PdfOutput.h"
#include "PdfSource.h"
#include "EngineLock.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string ScratchPath(const char* suffix)
{
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/engine-fuzz-" + std::to_string(getpid()) + suffix;
}

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void WalkOutline(IDocObject& document)
{
    std::int32_t depth = 0;
    ControlRecord(document, kControlOutlineDepth, &depth);
    TOutlineNode root{};
    root.ChildIndex = 1;
    if (FAILED(ControlRecord(document, kControlOutlineNode, &root)))
        return;
    std::vector<TOutlineNode> pending{root};
    while (!pending.empty()) {
        const TOutlineNode parent = pending.back();
        pending.pop_back();
        // One past the last child must be refused.
        for (int c = 0; c <= parent.ChildCount; ++c) {
            TOutlineNode child = parent;
            child.ChildIndex = c;
            child.ChildCount = parent.Level == 0 ? 1 : 0;
            const HRESULT status = ControlRecord(document, kControlOutlineNode, &child);
            if (c == parent.ChildCount ? SUCCEEDED(status) : FAILED(status))
                __builtin_trap();
            if (SUCCEEDED(status))
                pending.push_back(child);
        }
    }
}

void CopyFirstPage(PdfDocObject& document, const std::string& outputPath)
{
    const std::shared_ptr<PdfSource> source = document.inputSource();
    if (!source)
        return;
    EngineLockGuard lock = LockEngine();
    try {
        PdfOutput output(QString::fromStdString(outputPath), kRunOptionsOfRun);
        output.appendPage(source, 0);
        output.write();
    } catch (const std::exception&) {
        // A page or an output that cannot be made is an answer too.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string inputPath = ScratchPath(".pdf");
    static const std::string outputPath = ScratchPath("-out.pdf");
    if (!WriteFile(inputPath, data, size))
        return 0;
    const std::u16string name = QString::fromStdString(inputPath).toStdU16String();
    auto document = MakeComObject<PdfDocObject>(kAdapterCanRead | kAdapterCanWrite);
    TEncrypteInfo encryption{name.c_str(), 0};
    ControlRecord(*document, kControlEncryption, &encryption);
    TPasswdInfo passwords{name.c_str(), u"", u"", -1};
    ControlRecord(*document, kControlPageCount, &passwords);
    std::int32_t pages = 0;
    document->Open(name.c_str(), kOpenRead, &pages);
    if (pages > 0) {
        WalkOutline(*document);
        CopyFirstPage(*document, outputPath);
    }
    document->Close();
    std::remove(outputPath.c_str());
    return 0;
}
