#include "model/PDFProj.h"

#include "engine/EngineLoader.h"
#include "model/PageStr.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QFile>

#include <algorithm>

namespace {

// The path with the extension of its file name replaced, or added when it has none.
QString WithExtension(const QString& path, const QString& extension)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (dot <= separator)
        return path + extension;
    return path.left(dot) + extension;
}

qint64 FileSizeOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.size() : 0;
}

QString WordProcessingExtension()
{
    return OutputExtension(ffWord).value_or(QString());
}

QList<int> ExpandedPageList(const QString& pageScore, int totalPage)
{
    return ExpandPageStr(pageScore, totalPage, GetLangString(QStringLiteral("sAll")));
}

TFileAttr FileAttrOf(TFileFormat format)
{
    const auto row = [](const char* ext, const char* version) {
        return TFileAttr{QString::fromLatin1(ext), QString::fromLatin1(version)};
    };
    switch (format) {
    // The rows of the older office versions apply only where exactly that office version is
    // installed; no office suite is looked for on this platform.
    case ffWord:
        return row(".docx", "word2007");
    case ffExcel:
        return row(".xlsx", "excel2007");
    case ffPPT:
        return row(".pptx", "pptx");
    case ffRTF:
        return row(".doc", "rtf1.7");
    case ffXml:
        return row(".xml", "xml1.0");
    case ffTiff:
        break;
    case ffPdf:
        return row(".pdf", "1.7");
    case ffHtml:
        return row(".html", "html4.0");
    case ffTxt:
        return row(".txt", "txt1.0");
    case ffImage:
        return row(".img", "img1.0");
    case ffPWSRemove:
        return row(".pdf", "page1.7");
    case ffTest:
        return row(".pdf", "V1.0.0.0");
    case ffEpub:
        return row(".epub", "epub4.0");
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TFileInfo

void TFileInfo::SetSource(const QString& value)
{
    FSource = value;
    if (!FOutFile.isEmpty())
        return;
    FOutFile = WithExtension(value, WordProcessingExtension());
    FFileSize = FileSizeOf(value);
}

void TFileInfo::SetTotalPage(int value)
{
    FTotalPage = value;
    if (value == -1)
        FPageList.clear();
}

void TFileInfo::SetPageScore(const QString& value)
{
    if (value == FPageScore)
        return;
    FPageScore = value;
    RefreshPageList();
    FFileStatus = fsNew;
    FOutFile.clear();
    FConvertTime = 0;
}

QStringList TFileInfo::GetPageList() const
{
    return PageListTexts(FPageList);
}

void TFileInfo::RefreshPageList()
{
    FPageList = ExpandedPageList(FPageScore, FTotalPage);
}

// ---------------------------------------------------------------------------------------------
// TFileList

void TFileList::ClearOutFiles()
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetOutFile(QString());
}

// ---------------------------------------------------------------------------------------------
// TFileItr, TSetting

TFileAttr TFileItr::GetFileAttr() const
{
    return FileAttrOf(FFormat);
}

TSetting::TSetting(TPersistent* owner)
    : TProjObj(owner), FInputFormat(std::make_unique<TFileItr>(ProductConfig().InFormat)),
      FOutputFormat(std::make_unique<TFileItr>(ProductConfig().OutFormat))
{
}

TSetting::~TSetting() = default;

// ---------------------------------------------------------------------------------------------
// TPDFProj

TPDFProj::TPDFProj() : TPDFProj(ApplicationFolder()) {}

TPDFProj::TPDFProj(const QString& engineFolder)
    : FSetting(std::make_unique<TSetting>(this)), FAdapters(std::make_unique<TAdpterList>(this)),
      FEngine(CreateEngineEnumCtrl(engineFolder))
{
    SetProjectName(QStringLiteral("PDFProduct"));
}

TPDFProj::~TPDFProj()
{
    // The settings and the engine objects go first; the documents go with the framework's
    // sub-objects.
    FSetting.reset();
    FAdapters.reset();
    FEngine.reset();
}

namespace {
const TProjClassRegistration<TFileInfo, TFileList, TFileItr, TSetting, TConvertAdpterInfo,
                             TAdpterList, TPDFProj>
    kRegistration;
} // namespace
