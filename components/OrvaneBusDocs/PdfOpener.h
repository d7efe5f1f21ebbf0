#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class PdfSource;

enum class OpenStatus
{
    Opened,
    NeedsPassword, // encrypted, and none of the passwords opens it
    Unreadable,    // missing, not a PDF, or damaged beyond repair
};

struct OpenOutcome
{
    OpenStatus status = OpenStatus::Unreadable;
    std::shared_ptr<PdfSource> source; // set when opened
};

// The password bytes to try, in order: each password as UTF-8, then as Latin-1 when that
// differs (older encryption compares bytes, and such passwords were often set in Latin-1),
// and finally the empty password, which opens files that have an owner password only.
std::vector<std::string> PasswordCandidates(const QStringList& passwords);

// Opens the file with the first candidate that works. Damaged files that the PDF library can
// repair open. A document of the same unchanged file that is still held elsewhere, opened
// without a password or with one of these, is shared rather than read again. Takes the engine
// lock.
OpenOutcome OpenPdf(const QString& path, const QStringList& passwords);

// A reading of its own for one thread (PdfSource::MakeOwned), with the password bytes that
// opened another reading of the file: never shared with another document object, and opened
// without the engine lock.
OpenOutcome OpenOwnPdf(const QString& path, const std::string& password);
