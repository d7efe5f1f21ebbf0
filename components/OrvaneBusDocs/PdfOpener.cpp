#include "PdfOpener.h"

#include "BufferedFileSource.h"
#include "EngineLock.h"
#include "FileStamp.h"
#include "PdfSource.h"
#include "WideText.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include <algorithm>
#include <exception>

namespace {

void AddCandidate(std::vector<std::string>& candidates, std::string bytes)
{
    if (std::find(candidates.begin(), candidates.end(), bytes) == candidates.end())
        candidates.push_back(std::move(bytes));
}

bool FitsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

enum class Attempt
{
    Opened,
    WrongPassword,
    Failed,
};

Attempt TryOpen(QPDF& pdf, const std::string& path, const std::string& password)
{
    try {
        pdf.setSuppressWarnings(true);
        pdf.processInputSource(std::make_shared<BufferedFileSource>(path), password.c_str());
        pdf.getAllPages(); // the page tree is where damage shows first
        return Attempt::Opened;
    } catch (const QPDFExc& error) {
        return error.getErrorCode() == qpdf_e_password ? Attempt::WrongPassword : Attempt::Failed;
    } catch (const std::exception&) {
        return Attempt::Failed;
    }
}

// Documents read earlier that something still holds, so that a second document object asking
// for the same unchanged file (the run's input after the window's query, for example) shares
// it instead of reading and keeping it twice. Used under the engine lock; never destroyed, as
// a worker that is still ending at exit may release a document.
std::vector<std::weak_ptr<PdfSource>>& LiveSources()
{
    static auto* const sources = new std::vector<std::weak_ptr<PdfSource>>;
    return *sources;
}

std::shared_ptr<PdfSource> LiveSource(const QString& path, const FileStamp& stamp,
                                      const std::vector<std::string>& candidates)
{
    for (const std::weak_ptr<PdfSource>& entry : LiveSources()) {
        std::shared_ptr<PdfSource> source = entry.lock();
        if (!source || source->isLent() || source->path() != path || !(source->stamp() == stamp))
            continue;
        // One opened with a password is shared only with a caller that knows it.
        if (source->password().empty() ||
            std::find(candidates.begin(), candidates.end(), source->password()) != candidates.end())
            return source;
    }
    return nullptr;
}

void RememberSource(const std::shared_ptr<PdfSource>& source)
{
    auto& sources = LiveSources();
    const auto gone = [](const std::weak_ptr<PdfSource>& entry) { return entry.expired(); };
    sources.erase(std::remove_if(sources.begin(), sources.end(), gone), sources.end());
    sources.push_back(source);
}

using MakeSource = std::shared_ptr<PdfSource> (*)(std::unique_ptr<QPDF>, QString, FileStamp,
                                                  std::string);

// Reads the file with the first candidate password that opens it.
OpenOutcome ReadAnew(const QString& path, const FileStamp& stamp,
                     const std::vector<std::string>& candidates, MakeSource make)
{
    const std::string libraryPath = LibraryPath(path);
    for (const std::string& password : candidates) {
        auto pdf = std::make_unique<QPDF>();
        switch (TryOpen(*pdf, libraryPath, password)) {
        case Attempt::Opened:
            return {OpenStatus::Opened, make(std::move(pdf), path, stamp, password)};
        case Attempt::WrongPassword:
            break;
        case Attempt::Failed:
            return {};
        }
    }
    return {OpenStatus::NeedsPassword, nullptr};
}

} // namespace

std::vector<std::string> PasswordCandidates(const QStringList& passwords)
{
    std::vector<std::string> candidates;
    for (const QString& password : passwords) {
        if (password.isEmpty())
            continue;
        AddCandidate(candidates, password.toStdString());
        if (FitsLatin1(password))
            AddCandidate(candidates, password.toLatin1().toStdString());
    }
    AddCandidate(candidates, std::string());
    return candidates;
}

OpenOutcome OpenPdf(const QString& path, const QStringList& passwords)
{
    EngineLockGuard lock = LockEngine();
    const FileStamp stamp = FileStamp::Of(path);
    if (stamp.size < 0)
        return {};
    const std::vector<std::string> candidates = PasswordCandidates(passwords);
    if (std::shared_ptr<PdfSource> live = LiveSource(path, stamp, candidates))
        return {OpenStatus::Opened, std::move(live)};
    OpenOutcome outcome = ReadAnew(path, stamp, candidates, PdfSource::Make);
    if (outcome.source)
        RememberSource(outcome.source);
    return outcome;
}

OpenOutcome OpenOwnPdf(const QString& path, const std::string& password)
{
    const FileStamp stamp = FileStamp::Of(path);
    if (stamp.size < 0)
        return {};
    return ReadAnew(path, stamp, {password}, PdfSource::MakeOwned);
}
