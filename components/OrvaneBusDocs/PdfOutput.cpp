#include "PdfOutput.h"

#include "engine/DocEngine.h"
#include "FileIdentifier.h"
#include "OutputNavigation.h"
#include "PdfSource.h"
#include "RunPageMap.h"
#include "TavloVersion.h"
#include "TemporarySibling.h"
#include "WideText.h"

#include <QFileInfo>

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/Pl_StdioFile.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdexcept>

namespace {

// The text entries of the source's document information, as direct objects of the output.
QPDFObjectHandle CopyOfDocumentInfo(QPDF& source)
{
    QPDFObjectHandle info = source.getTrailer().getKey("/Info");
    QPDFObjectHandle copy = QPDFObjectHandle::newDictionary();
    if (!info.isDictionary())
        return copy;
    for (auto item : info.ditems()) {
        if (item.second.isString())
            copy.replaceKey(item.first, QPDFObjectHandle::newString(item.second.getStringValue()));
    }
    return copy;
}

} // namespace

PdfOutput::PdfOutput(QString targetPath, int runOptions)
    : targetPath_(std::move(targetPath)),
      file_(std::make_unique<TemporarySibling>(targetPath_)),
      runOptions_(runOptions)
{
    pdf_.setSuppressWarnings(true);
    pdf_.emptyPDF();
}

PdfOutput::~PdfOutput() = default;

void PdfOutput::appendPage(const std::shared_ptr<PdfSource>& source, int index)
{
    if (index < 0 || index >= source->pageCount())
        throw std::out_of_range("no such page");
    QPDFPageObjectHelper page = source->pageForCopy(index);
    // A page taken twice into one output must become a page of its own.
    if (!copiedPages_.insert({source.get(), page.getObjectHandle().getObjGen()}).second)
        page = page.shallowCopyPage();
    QPDFPageDocumentHelper(pdf_).addPage(page, false);
    pageOrigins_.push_back({keepSource(source), index});
    addPageLabel(*source, index);
    ++pageCount_;
    fixAnnotations(*source, page);
    source->keepWarnings(); // bounded from here on, however many pages this output takes
}

void PdfOutput::write()
{
    writeKept()->commit();
}

std::unique_ptr<TemporarySibling> PdfOutput::writeKept()
{
    if (!file_)
        throw std::logic_error("the output was written before");
    std::unique_ptr<TemporarySibling> file = std::move(file_);
    finishDocument();
    {
        // The pipelines keep the description they are given, not a copy.
        const std::string fileName = LibraryPath(file->path());
        Pl_StdioFile toFile(fileName.c_str(), file->stream());
        // The same pages give the same bytes, whichever reading of the input and whichever
        // run made them: the file identifier follows from the recipe, not from a time.
        FileIdentifierStamp stamped(FileIdentifierOf(recipe()), &toFile);
        QPDFWriter writer(pdf_);
        writer.setOutputPipeline(&stamped);
        writer.setMinimumPDFVersion(minimumVersion_);
        writer.setStaticID(true); // the placeholder that the stamp replaces
        writer.write();
        stamped.complete();
    }
    file->finishWriting();
    // Taken from the inputs only now: an output that was not written tells nothing.
    for (const auto& source : sources_)
        warnings_.append(source->takeWarnings());
    warnings_.takeFrom(pdf_);
    return file;
}

QPDFAcroFormDocumentHelper& PdfOutput::acroForm()
{
    if (!acroForm_)
        acroForm_ = std::make_unique<QPDFAcroFormDocumentHelper>(pdf_);
    return *acroForm_;
}

std::size_t PdfOutput::keepSource(const std::shared_ptr<PdfSource>& source)
{
    for (std::size_t number = 0; number < sources_.size(); ++number) {
        if (sources_[number] == source)
            return number;
    }
    sources_.push_back(source);
    minimumVersion_.updateIfGreater(source->version());
    return sources_.size() - 1;
}

// Collected whatever the options say, as they may still change before the output is written.
// Labels are an extra: damaged ones leave the output without labels, not without the page.
void PdfOutput::addPageLabel(PdfSource& source, int index)
{
    try {
        QPDFPageLabelDocumentHelper& labels = source.pageLabels();
        anyPageLabels_ = anyPageLabels_ || labels.hasPageLabels();
        labels.getLabelsForPageRange(index, index, pageCount_, pageLabels_);
    } catch (const std::exception&) {
        pageLabelsDamaged_ = true;
    }
}

// Points the copied widgets and fields to the new page, as the PDF library's page selection
// does; like it, keeps the page when that fails.
void PdfOutput::fixAnnotations(PdfSource& source, QPDFPageObjectHelper& copiedFrom)
{
    try {
        if (source.acroForm().hasAcroForm())
            acroForm().fixCopiedAnnotations(pdf_.getAllPages().back(), copiedFrom.getObjectHandle(),
                                            source.acroForm());
    } catch (const std::exception&) {
        // The annotations stay as copied.
    }
}

void PdfOutput::finishDocument()
{
    QPDFObjectHandle root = pdf_.getRoot();
    if ((runOptions_ & kRunOptionPageLabels) != 0 && anyPageLabels_ && !pageLabelsDamaged_) {
        QPDFObjectHandle labels = QPDFObjectHandle::newDictionary();
        labels.replaceKey("/Nums", QPDFObjectHandle::newArray(pageLabels_));
        root.replaceKey("/PageLabels", labels);
    }
    if ((runOptions_ & kRunOptionDocumentInfo) != 0 && !sources_.empty())
        pdf_.getTrailer().replaceKey(
            "/Info", pdf_.makeIndirectObject(CopyOfDocumentInfo(sources_.front()->pdf())));
    if ((runOptions_ & kRunOptionNavigation) != 0)
        addNavigation();
}

// Everything the output's bytes follow from, once its document is finished: the versions of
// what writes it, the options, its name (its links to siblings are relative to it), its
// inputs (their stamps), its pages and, with navigation, the run's page map.
std::string PdfOutput::recipe()
{
    std::string recipe = "output " TAVLO_FILE_VERSION " qpdf " + QPDF::QPDFVersion() + '\n';
    recipe += std::to_string(runOptions_) + '\n';
    AppendToRecipe(recipe, QFileInfo(targetPath_).fileName());
    for (const auto& source : sources_) {
        recipe += std::to_string(source->stamp().size) + '/' +
                  std::to_string(source->stamp().modified) + '\n';
    }
    for (const PageOrigin& origin : pageOrigins_)
        recipe += std::to_string(origin.source) + ':' + std::to_string(origin.index) + ',';
    if ((runOptions_ & kRunOptionNavigation) != 0 && sources_.size() == 1 &&
        sources_.front()->runPageMap())
        recipe += sources_.front()->runPageMap()->digest();
    return recipe;
}

// Navigation comes from one input; an output that mixes inputs keeps its pages bare.
void PdfOutput::addNavigation()
{
    if (sources_.size() != 1)
        return;
    PdfSource& source = *sources_.front();
    std::vector<int> inputPages;
    inputPages.reserve(pageOrigins_.size());
    for (const PageOrigin& origin : pageOrigins_)
        inputPages.push_back(origin.index);
    try {
        OutputNavigation(pdf_, source, std::move(inputPages), source.runPageMap(), targetPath_)
            .apply();
    } catch (const std::exception&) {
        // An input too damaged to read its navigation at all: the pages still go out.
    }
}
