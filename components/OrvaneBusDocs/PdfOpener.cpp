#include "PdfOpener.h"

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
        pdf.processFile(path.c_str(), password.c_str());
        pdf.getAllPages(); // the page tree is where damage shows first
        return Attempt::Opened;
    } catch (const QPDFExc& error) {
        return error.getErrorCode() == qpdf_e_password ? Attempt::WrongPassword : Attempt::Failed;
    } catch (const std::exception&) {
        return Attempt::Failed;
    }
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
    const std::string libraryPath = LibraryPath(path);
    const FileStamp stamp = FileStamp::Of(path);
    if (stamp.size < 0)
        return {};
    for (const std::string& password : PasswordCandidates(passwords)) {
        auto pdf = std::make_unique<QPDF>();
        switch (TryOpen(*pdf, libraryPath, password)) {
        case Attempt::Opened:
            return {OpenStatus::Opened, PdfSource::Make(std::move(pdf), path, stamp, password)};
        case Attempt::WrongPassword:
            break;
        case Attempt::Failed:
            return {};
        }
    }
    return {OpenStatus::NeedsPassword, nullptr};
}
