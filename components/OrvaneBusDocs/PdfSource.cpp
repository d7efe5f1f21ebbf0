#include "PdfSource.h"

#include "DestinationResolver.h"
#include "EngineLock.h"
#include "NavigationIndex.h"
#include "OutlineModel.h"
#include "RunPageMap.h"
#include "SharedResources.h"
#include "StreamCheck.h"

#include <utility>

std::shared_ptr<PdfSource> PdfSource::Make(std::unique_ptr<QPDF> pdf, QString path,
                                           FileStamp stamp, std::string password)
{
    auto* source =
        new PdfSource(std::move(pdf), std::move(path), std::move(stamp), std::move(password));
    return std::shared_ptr<PdfSource>(source, [](PdfSource* released) {
        EngineLockGuard lock = LockEngine();
        delete released;
    });
}

std::shared_ptr<PdfSource> PdfSource::MakeOwned(std::unique_ptr<QPDF> pdf, QString path,
                                                FileStamp stamp, std::string password)
{
    return std::shared_ptr<PdfSource>(
        new PdfSource(std::move(pdf), std::move(path), std::move(stamp), std::move(password)));
}

PdfSource::PdfSource(std::unique_ptr<QPDF> pdf, QString path, FileStamp stamp,
                     std::string password)
    : pdf_(std::move(pdf)),
      path_(std::move(path)),
      stamp_(std::move(stamp)),
      password_(std::move(password)),
      pages_(pdf_->getAllPages()),
      version_(pdf_->getVersionAsPDFVersion()),
      pruned_(pages_.size(), false)
{
    keepWarnings();
}

PdfSource::~PdfSource() = default;

QPDFPageObjectHelper PdfSource::pageForCopy(int index)
{
    QPDFPageObjectHelper page(pages_.at(static_cast<std::size_t>(index)));
    if (pagesShareResources() && !pruned_[static_cast<std::size_t>(index)]) {
        pruned_[static_cast<std::size_t>(index)] = true;
        page.removeUnreferencedResources();
    }
    DecodeUncheckedStreams(page.getObjectHandle(), checkedObjects_);
    return page;
}

QPDFAcroFormDocumentHelper& PdfSource::acroForm()
{
    if (!acroForm_)
        acroForm_ = std::make_unique<QPDFAcroFormDocumentHelper>(*pdf_);
    return *acroForm_;
}

QPDFPageLabelDocumentHelper& PdfSource::pageLabels()
{
    if (!pageLabels_)
        pageLabels_ = std::make_unique<QPDFPageLabelDocumentHelper>(*pdf_);
    return *pageLabels_;
}

const OutlineModel& PdfSource::outline()
{
    if (!outline_) {
        outline_ = std::make_unique<OutlineModel>(OutlineModel::Read(*pdf_));
        keepWarnings();
    }
    return *outline_;
}

bool PdfSource::pagesShareResources()
{
    if (!pruneResources_)
        pruneResources_ = PagesShareResources(*pdf_);
    return *pruneResources_;
}

const NavigationIndex& PdfSource::navigation()
{
    return *sharedNavigation();
}

std::shared_ptr<const NavigationIndex> PdfSource::sharedNavigation()
{
    if (!navigation_) {
        navigation_ = std::make_shared<const NavigationIndex>(*pdf_);
        keepWarnings();
    }
    return navigation_;
}

void PdfSource::shareNavigation(std::shared_ptr<const NavigationIndex> index)
{
    navigation_ = std::move(index);
}

DestinationResolver& PdfSource::destinations()
{
    if (!destinations_)
        destinations_ = std::make_unique<DestinationResolver>(*pdf_, &navigation());
    return *destinations_;
}

void PdfSource::setRunPageMap(std::shared_ptr<const RunPageMap> map)
{
    runPageMap_ = std::move(map);
}

PdfWarnings PdfSource::takeWarnings()
{
    keepWarnings();
    return std::exchange(warnings_, {});
}
