#pragma once

#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QString>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PdfWarnings.h"

class PdfSource;
class TemporarySibling;

// An output being put together. Appending a page copies its dictionaries (annotations, links
// and form fields fixed up as the PDF library's page selection does); the data of its
// streams stays in the input and is read when the output is written. The output therefore
// keeps every source it took pages from. Its data goes into a hidden temporary file beside
// the target, made when the output is made, and renamed to the target's name when complete,
// never over a file that has that name; an output that is never written leaves no file. Use
// it only under the engine lock.
class PdfOutput
{
public:
    // Throws when no file can be created in the folder of the target.
    PdfOutput(QString targetPath, int runOptions);
    ~PdfOutput();

    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    const QString& targetPath() const { return targetPath_; }
    int pageCount() const { return pageCount_; }
    void setRunOptions(int runOptions) { runOptions_ = runOptions; }

    // Appends page index (0-based) of the source. Throws when the page cannot be read.
    void appendPage(const std::shared_ptr<PdfSource>& source, int index);

    // Writes the output and renames it into place; writes at most once. Throws when that
    // fails; the temporary file is then gone.
    void write();

    // Writes the output into its temporary file and hands that over without renaming it, for
    // a caller that puts it into place later (TemporarySibling::commit). Writes at most once;
    // throws when writing fails.
    std::unique_ptr<TemporarySibling> writeKept();

    // Once written: what the PDF library warned of while the output was put together and
    // written (data of the inputs that could not be decoded) and the damage of its inputs not
    // told before.
    const PdfWarnings& warnings() const { return warnings_; }

private:
    QPDFAcroFormDocumentHelper& acroForm();
    // The source's number among the output's sources.
    std::size_t keepSource(const std::shared_ptr<PdfSource>& source);
    void addPageLabel(PdfSource& source, int index);
    void fixAnnotations(PdfSource& source, QPDFPageObjectHelper& copiedFrom);
    void finishDocument();
    void addNavigation();
    std::string recipe();

    QString targetPath_;
    std::unique_ptr<TemporarySibling> file_;
    int runOptions_;
    QPDF pdf_;
    std::unique_ptr<QPDFAcroFormDocumentHelper> acroForm_;
    std::vector<std::shared_ptr<PdfSource>> sources_;
    std::set<std::pair<const PdfSource*, QPDFObjGen>> copiedPages_;
    struct PageOrigin
    {
        std::size_t source; // the number of its source in sources_
        int index;          // its page there, 0-based
    };
    std::vector<PageOrigin> pageOrigins_; // per output page
    std::vector<QPDFObjectHandle> pageLabels_;
    bool anyPageLabels_ = false;
    bool pageLabelsDamaged_ = false;
    PDFVersion minimumVersion_;
    int pageCount_ = 0;
    PdfWarnings warnings_;
};

