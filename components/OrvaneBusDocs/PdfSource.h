#pragma once

#include "FileStamp.h"
#include "PdfWarnings.h"

#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class DestinationResolver;
class NavigationIndex;
class OutlineModel;
class RunPageMap;

// An input document read into memory once. Document objects and the outputs that copy its
// pages share it; it lives until the last of them lets go. Use it only under the engine lock
// (EngineLock.h); sources are made and destroyed under it, too.
class PdfSource
{
public:
    // Takes over a document that opened.
    static std::shared_ptr<PdfSource> Make(std::unique_ptr<QPDF> pdf, QString path,
                                           FileStamp stamp, std::string password);
    // The same for a reading that one thread owns alone and uses without the engine lock (a
    // worker of OutputPreparer).
    static std::shared_ptr<PdfSource> MakeOwned(std::unique_ptr<QPDF> pdf, QString path,
                                                FileStamp stamp, std::string password);
    ~PdfSource();

    PdfSource(const PdfSource&) = delete;
    PdfSource& operator=(const PdfSource&) = delete;

    QPDF& pdf() { return *pdf_; }
    const QString& path() const { return path_; }
    const FileStamp& stamp() const { return stamp_; }
    // The password bytes that opened the document (empty when none was needed).
    const std::string& password() const { return password_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // Read once: the PDF library works it out anew on every call.
    const PDFVersion& version() const { return version_; }

    // The page (0-based) ready to be copied: on its first copy from a document whose pages
    // share resources, its unused resources are pruned, as the PDF library's own page
    // selection does; and the compressed data it uses is decoded once, so that damage in it
    // is told as a warning (DecodeUncheckedStreams).
    QPDFPageObjectHelper pageForCopy(int index);

    QPDFAcroFormDocumentHelper& acroForm();
    QPDFPageLabelDocumentHelper& pageLabels();
    const OutlineModel& outline();
    // Bookmarks and named destinations, read on first use unless another reading of the same
    // file read them for this one (shareNavigation).
    const NavigationIndex& navigation();
    std::shared_ptr<const NavigationIndex> sharedNavigation();
    void shareNavigation(std::shared_ptr<const NavigationIndex> index);
    // Where the destinations of this reading lead (links, the opening view).
    DestinationResolver& destinations();

    // Whether the pages share resources (SharedResources.h), worked out on first use unless
    // told.
    bool pagesShareResources();
    void assumePagesShareResources(bool share) { pruneResources_ = share; }

    // Where the current run puts this input's pages (kControlPageMap); null until told.
    const RunPageMap* runPageMap() const { return runPageMap_.get(); }
    const std::shared_ptr<const RunPageMap>& sharedRunPageMap() const { return runPageMap_; }
    void setRunPageMap(std::shared_ptr<const RunPageMap> map);

    // Lent to a worker of the run (OutputPreparer), which then owns the document alone: the
    // thread that lent it reads nothing of it but pageCount() until it is given back, and no
    // other document object takes it up (OpenPdf, a kept probe).
    bool isLent() const { return lent_.load(std::memory_order_acquire); }
    void setLent(bool lent) { lent_.store(lent, std::memory_order_release); }

    // Damage met in the document (repaired at opening, objects that could not be read while
    // its outline was read or its pages copied) is told once, by the output written next:
    // keepWarnings moves what the PDF library has recorded into a bounded list, and
    // takeWarnings hands out that list.
    void keepWarnings() { warnings_.takeFrom(*pdf_); }
    PdfWarnings takeWarnings();

private:
    PdfSource(std::unique_ptr<QPDF> pdf, QString path, FileStamp stamp, std::string password);

    std::unique_ptr<QPDF> pdf_;
    QString path_;
    FileStamp stamp_;
    std::string password_;
    std::vector<QPDFObjectHandle> pages_;
    PDFVersion version_;
    std::optional<bool> pruneResources_;
    std::vector<bool> pruned_;
    std::unique_ptr<QPDFAcroFormDocumentHelper> acroForm_;
    std::unique_ptr<QPDFPageLabelDocumentHelper> pageLabels_;
    std::unique_ptr<OutlineModel> outline_;
    std::shared_ptr<const NavigationIndex> navigation_;
    std::unique_ptr<DestinationResolver> destinations_;
    std::shared_ptr<const RunPageMap> runPageMap_; // read-only, shared with worker readings
    PdfWarnings warnings_;
    std::set<QPDFObjGen> checkedObjects_;
    std::atomic<bool> lent_{false};
};
