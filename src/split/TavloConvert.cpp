#include "split/TavloConvert.h"

#include "split/TitleFileName.h"

#include "model/PageStr.h"
#include "model/TavloProj.h"
#include "shell/FormatText.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/RunLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

const QString& AllPages()
{
    static const QString all = QStringLiteral("All");
    return all;
}

QString BaseName(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

QString FolderOf(const QString& path)
{
    return WithTrailingBackslash(QFileInfo(path).absolutePath());
}

std::u16string Wide(const QString& text)
{
    return text.toStdU16String();
}

void CheckCall(HRESULT status, const char* call)
{
    if (FAILED(status))
        throw ERunError(QStringLiteral("%1 failed").arg(QLatin1String(call)));
}

// The longest file name, in bytes, that the file system of the folder (or of its nearest
// existing parent) holds.
qint64 MaxFileNameBytes(QString folder)
{
#if defined(_WIN32)
    Q_UNUSED(folder);
    return 255;
#else
    for (QString parent = folder; !QFileInfo::exists(folder); folder = parent) {
        parent = QFileInfo(QDir::cleanPath(folder)).absolutePath();
        if (parent == folder)
            break;
    }
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : 255;
#endif
}

// The longest path the system functions take, in bytes with the terminating null.
constexpr qsizetype kMaxPathBytes = 4096;

[[noreturn]] void RefuseName(const char* key, const QString& name)
{
    const QString text = GetLangString(QString::fromLatin1(key));
    throw EPlanError(text.contains(QStringLiteral("%s"))
                         ? FormatText(text, {name})
                         : text + QStringLiteral(" (") + name + QLatin1Char(')'));
}

// Document object that is open for reading while it lives.
class TOpenedQuery
{
public:
    TOpenedQuery(IDocObject* document, const QString& source) : FDocument(document)
    {
        if (FDocument == nullptr)
            return;
        const std::u16string name = Wide(source);
        std::int32_t result = 0;
        CheckCall(FDocument->Open(name.c_str(), kOpenRead, &result), "Open");
        FOpened = result > 0;
    }
    ~TOpenedQuery()
    {
        if (FOpened)
            FDocument->Close();
    }
    TOpenedQuery(const TOpenedQuery&) = delete;
    TOpenedQuery& operator=(const TOpenedQuery&) = delete;

    bool Opened() const { return FOpened; }

private:
    IDocObject* FDocument;
    bool FOpened = false;
};

} // namespace

TTavloConvert::TTavloConvert(TTavloProj& job) : TConvert(job) {}

QString TTavloConvert::OutputFolderBase(const QString& source, const QString& outputFolder,
                                        bool useCustom)
{
    const QString name = BaseName(source);
    // Cleaned as the outputs' own folder part will be ("a/../b" is "b"); blanks stay.
    return QDir::cleanPath(useCustom && !outputFolder.isEmpty()
                               ? WithTrailingBackslash(outputFolder) + name
                               : FolderOf(source) + name);
}

// The run's output folder, made exclusively, so that it is this run's alone; a dry run only
// names the folder it would make.
void TTavloConvert::MakeOutFolder(const QString& source, const QString& outputFolder,
                                  bool useCustom)
{
    const QString base = OutputFolderBase(source, outputFolder, useCustom);
    FOutFolder = FCreateFolders ? Outputs().CreateFolder(base) : TRunOutputs::FreeFolderName(base);
    ++FOutFolderCount;
}

QString TTavloConvert::GetUniqueOutputName(const QString& source, const QString& outputFolder,
                                           bool useCustom, const QString& extension)
{
    if (FOutFolderCount == 0)
        MakeOutFolder(source, outputFolder, useCustom);
    const QString stem = FOutFolder + BaseName(source);
    // Names are only ever added to the map, so a number found taken stays taken: the search
    // goes on from where the last one ended.
    int& next = FNextOutputNumber[FileNameKey(stem + extension)];
    for (int n = std::max(next, 1);; ++n) {
        const QString candidate = stem + QStringLiteral("(%1)").arg(n) + extension;
        if (!FUsedOutputKeys.contains(FileNameKey(candidate))) {
            next = n;
            return candidate;
        }
    }
}

QString TTavloConvert::OutputName(const TFileInfo& document)
{
    return GetUniqueOutputName(document.Source(), ProductConfig().CustomDir,
                               ProductConfig().CustomPath,
                               Job().Setting()->OutputFormat()->ExtName());
}

void TTavloConvert::CheckStop() const
{
    if (StopRequested())
        throw EPlanStopped();
}

void TTavloConvert::AddPlaceholder(TFileInfo& document, int documentIndex)
{
    TConvPageInfo* placeholder = FPageList->NewItem();
    placeholder->SetFileInfo(&document);
    placeholder->InPage()->SetFileIndex(documentIndex);
    FOutputIndexes.insert(placeholder->OutPage()->FileIndex());
    document.SetFileStatus(fsSkip);
}

void TTavloConvert::AddEntry(TFileInfo& document, int documentIndex, int page, int inPageIndex,
                             const QString& outName, int outFileIndex, int outPageIndex)
{
    CheckStop();
    TConvPageInfo* entry = FPageList->NewItem();
    TPageInfo* in = entry->InPage();
    in->SetFileName(document.Source());
    in->SetPageValue(page);
    in->SetFileIndex(documentIndex);
    in->SetPageIndex(inPageIndex);
    TPageInfo* out = entry->OutPage();
    out->SetFileName(outName);
    out->SetPageValue(page);
    out->SetFileIndex(outFileIndex);
    out->SetPageIndex(outPageIndex);
    entry->SetFileInfo(&document);
    document.SetOutFile(outName);
    FUsedOutputKeys.insert(FileNameKey(outName));
    FOutputIndexes.insert(outFileIndex);
}

void TTavloConvert::BuildPageList()
{
    FPageList->Clear();
    FOutFolderCount = 0;
    FOutFolder.clear();
    Outputs().Clear();
    FUsedOutputKeys.clear();
    FNextOutputNumber.clear();
    FOutputIndexes.clear();
    FLeadBookmarks.clear();
    FLeftOutPages.clear();
    TFileList& files = *Job().Files();
    for (int i = 0; i < files.Count(); ++i) {
        TFileInfo& document = *files.Items(i);
        document.RefreshPageList();
        document.SetPageScore(AllPages());
        if (document.PageList().isEmpty()) {
            AddPlaceholder(document, i);
            continue;
        }
        switch (Job().Method()->Option()) {
        case soEveryPage: PlanEveryPage(document, i); break;
        case soBookMarkLever: PlanBookmarks(document, i); break;
        case soPageRange: PlanRanges(document, i); break;
        case soCustom: PlanCustom(document, i); break;
        case soAverge: PlanAverage(document, i); break;
        }
    }
    CheckOutputNames();
}

// Every output name must be one the file system holds, and name a file right in the run's
// folder: a name with a folder part would write where the run made nothing.
void TTavloConvert::CheckOutputNames() const
{
    if (FOutFolder.isEmpty())
        return; // nothing planned
    const qint64 maxNameBytes = MaxFileNameBytes(FOutFolder);
    QSet<QString> checked;
    for (int i = 0; i < FPageList->Count(); ++i) {
        const QString& path = FPageList->Items(i)->OutPage()->FileName();
        if (path.isEmpty() || checked.contains(path))
            continue;
        checked.insert(path);
        const QString name = path.mid(FOutFolder.size());
        if (!path.startsWith(FOutFolder) || name.isEmpty() || name.contains(u'/') ||
            name.contains(u'\\') || name == QStringLiteral(".") || name == QStringLiteral(".."))
            RefuseName("sInvalidFileName", name);
        if (QFile::encodeName(name).size() > maxNameBytes ||
            QFile::encodeName(path).size() >= kMaxPathBytes)
            RefuseName("sOutputNameTooLong", name);
    }
}

void TTavloConvert::PlanEveryPage(TFileInfo& document, int documentIndex)
{
    const int perOutput = std::max(1, Job().Method()->EveryPageNum());
    const QString folder = FolderOf(OutputName(document));
    const QString base = BaseName(document.Source());
    const QList<int> pages = document.PageList();
    int out = 0;
    for (int j = 0; j < pages.size(); ++j) {
        const QString name =
            folder + base + QStringLiteral("(%1)").arg(j / perOutput + 1) + QStringLiteral(".pdf");
        AddEntry(document, documentIndex, pages[j], j, name, out, j % perOutput);
        if ((j + 1) % perOutput == 0)
            ++out;
    }
}

// Part k (from 1) takes the pages low < p <= high, the first T mod N parts one page more than
// the others. More parts than pages leave the extra parts without pages and without a file,
// so only as many parts as there are pages are planned; each page finds its part at once.
void TTavloConvert::PlanAverage(TFileInfo& document, int documentIndex)
{
    const int total = document.TotalPage();
    const int parts = std::clamp(Job().Method()->AvgSplitNum(), 1, std::max(total, 1));
    const QString folder = FolderOf(OutputName(document));
    const QString base = BaseName(document.Source());
    const QList<int> pages = document.PageList();
    const int size = total / parts;
    const int rest = total % parts;
    const qint64 inLargerParts = qint64(rest) * (size + 1);
    const auto partOf = [&](int page) {
        return page <= inLargerParts ? int((page - 1) / (size + 1))
                                     : rest + int((page - inLargerParts - 1) / size);
    };
    std::vector<std::vector<int>> positions(static_cast<size_t>(parts));
    for (int j = 0; j < pages.size(); ++j) {
        if (pages[j] >= 1 && pages[j] <= total)
            positions[static_cast<size_t>(partOf(pages[j]))].push_back(j);
    }
    for (int k = 1; k <= parts; ++k) {
        const QString name = folder + base + QStringLiteral("(%1)").arg(k) + QStringLiteral(".pdf");
        int position = 0;
        for (const int j : positions[static_cast<size_t>(k - 1)])
            AddEntry(document, documentIndex, pages[j], j, name, k - 1, position++);
    }
}

void TTavloConvert::PlanRanges(TFileInfo& document, int documentIndex)
{
    const TPageRange& range = *Job().Method()->RangeStr();
    document.SetPageScore(range.RangeStr());
    const QList<int> rangePages = document.PageList();
    QString name;
    for (int j = 0; j < rangePages.size(); ++j) {
        if (j == 0)
            name = OutputName(document);
        AddEntry(document, documentIndex, rangePages[j], j, name, 0, j);
    }
    if (!range.NeedOtherPage())
        return;
    document.SetPageScore(AllPages());
    QList<int> others = document.PageList();
    document.SetPageScore(range.RangeStr());
    for (qsizetype i = rangePages.size() - 1; i >= 0; --i)
        others.removeOne(rangePages[i]);
    for (int j = 0; j < others.size(); ++j) {
        if (j == 0)
            name = OutputName(document);
        AddEntry(document, documentIndex, others[j], j, name, 1, j);
    }
}

void TTavloConvert::PlanCustom(TFileInfo& document, int documentIndex)
{
    const TAdvDefineList& definitions = *Job().Method()->AdvDefine();
    for (int i = 0; i < definitions.Count(); ++i) {
        const TAdvDefine& definition = *definitions.Items(i);
        document.SetPageScore(AllPages());
        document.SetPageScore(definition.PageStr());
        if (FOutFolderCount == 0)
            MakeOutFolder(Job().Files()->Items(0)->Source(), ProductConfig().CustomDir,
                          ProductConfig().CustomPath);
        const QString name = FOutFolder + definition.OutFile();
        const QList<int> pages = document.PageList();
        for (int j = 0; j < pages.size(); ++j)
            AddEntry(document, documentIndex, pages[j], j, name, i, j);
    }
}

TOutlineNode TTavloConvert::FetchChild(const TOutlineNode& parent, int childIndex)
{
    CheckStop();
    TOutlineNode child = parent;
    child.ChildIndex = childIndex;
    child.ChildCount = parent.Level == 0 ? 1 : 0;
    CheckCall(ControlRecord(*QueryDoc(), kControlOutlineNode, &child), "Control(2002)");
    return child;
}

void TTavloConvert::PlanBookmarks(TFileInfo& document, int documentIndex)
{
    const TOpenedQuery opened(QueryDoc(), document.Source());
    if (!opened.Opened()) {
        WriteLogLine(QStringLiteral("InitBookMarkPageList Open File Faild"));
        return;
    }
    TOutlineNode root{};
    root.NodeRef = 0;
    root.ChildIndex = 1;
    CheckCall(ControlRecord(*QueryDoc(), kControlOutlineNode, &root), "Control(2002)");
    if (root.ChildCount == 0)
        return;
    std::int32_t depth = 0;
    CheckCall(ControlRecord(*QueryDoc(), kControlOutlineDepth, &depth), "Control(2003)");
    const TBookMarkOption& option = *Job().Method()->BookMarkOption();
    const int level = option.LevelNum();
    // Levels below the deepest bookmark hold nothing: they are not walked one by one.
    const int deepest = std::min(level, static_cast<int>(depth));
    const int lowest = option.SaveHigherLevel() ? 1 : level;
    const int firstEntry = FPageList->Count();
    std::vector<TBookmarkSection> sections;
    for (int l = deepest; l >= lowest; --l)
        CollectBookmarkLevel(root, l, sections);
    PlanBookmarkSections(sections, document, documentIndex);
    NoteLeftOutPages(document, documentIndex, firstEntry);
}

// The pages of the document that no output of its bookmark plan takes.
void TTavloConvert::NoteLeftOutPages(const TFileInfo& document, int documentIndex, int firstEntry)
{
    const int total = document.TotalPage();
    std::vector<bool> taken(static_cast<size_t>(std::max(total, 0)) + 1, false);
    for (int i = firstEntry; i < FPageList->Count(); ++i) {
        const int page = FPageList->Items(i)->InPage()->PageValue();
        if (page >= 1 && page <= total &&
            FPageList->Items(i)->InPage()->FileIndex() == documentIndex)
            taken[static_cast<size_t>(page)] = true;
    }
    QList<int> left;
    for (int page = 1; page <= total; ++page) {
        if (!taken[static_cast<size_t>(page)])
            left.append(page);
    }
    if (left.isEmpty() || left.size() == total)
        return;
    const QString line =
        QFileInfo(document.Source()).fileName() + QStringLiteral(": ") + PageStrOf(left);
    WriteLogLine(QStringLiteral("Pages in no output: ") + line);
    FLeftOutPages.append(line);
}

// The sections of one level's bookmarks that hold a page, in outline order.
void TTavloConvert::CollectBookmarkLevel(const TOutlineNode& node, int level,
                                         std::vector<TBookmarkSection>& sections)
{
    const TBookMarkOption& option = *Job().Method()->BookMarkOption();
    for (int c = 0; c < node.ChildCount; ++c) {
        CheckStop();
        const TOutlineNode child = FetchChild(node, c);
        if (node.Level == 0 ? level == 1 : level - 1 == node.Level) {
            const int last = option.BothPage() ? child.LastPageBoth : child.LastPage;
            if (child.FirstPage > last)
                continue;
            sections.push_back({child.NodeRef, child.FirstPage, last,
                                option.TitleNaming() == tnNone ? QString()
                                                               : QString::fromUtf16(child.Title)});
        } else {
            CollectBookmarkLevel(child, level, sections);
        }
    }
}

void TTavloConvert::PlanBookmarkSections(const std::vector<TBookmarkSection>& sections,
                                         TFileInfo& document, int documentIndex)
{
    const int naming = Job().Method()->BookMarkOption()->TitleNaming();
    if (naming != tnTitle && naming != tnNumberedTitle) {
        for (const TBookmarkSection& section : sections)
            PlanBookmarkOutput(section, OutputName(document), document, documentIndex);
        return;
    }
    const QString folder = FolderOf(OutputName(document));
    const QString extension = Job().Setting()->OutputFormat()->ExtName();
    const int width = std::max(2, static_cast<int>(QString::number(sections.size()).size()));
    TTitleStems stems;
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const QString number = QString::number(k + 1);
        QString stem = FileStemFromTitle(sections[k].Title);
        if (stem.isEmpty())
            stem = BaseName(document.Source()) + u'(' + number + u')';
        if (naming == tnNumberedTitle)
            stem = number.rightJustified(width, u'0') + u' ' + stem;
        PlanBookmarkOutput(sections[k], folder + stems.Take(stem) + extension, document,
                           documentIndex);
    }
}

void TTavloConvert::PlanBookmarkOutput(const TBookmarkSection& section, const QString& name,
                                       TFileInfo& document, int documentIndex)
{
    // The map's OutputFileCount, kept as the map grows.
    const int outIndex = static_cast<int>(FOutputIndexes.size());
    for (int p = section.FirstPage; p <= section.LastPage; ++p)
        AddEntry(document, documentIndex, p, p - 1, name, outIndex, p - 1);
    FLeadBookmarks.insert(FileNameKey(name), section.NodeRef);
}

std::int32_t TTavloConvert::LeadBookmarkOf(const QString& outputFile) const
{
    return FLeadBookmarks.value(FileNameKey(outputFile), 0);
}

int TTavloConvert::GetBookmarkLevelCount(const TFileInfo& document)
{
    const std::unique_lock lock = LockRun();
    WriteLogLine(QStringLiteral("BookMarkLevelCount1"));
    const TOpenedQuery opened(QueryDoc(), document.Source());
    if (!opened.Opened())
        return 0;
    std::int32_t count = 0;
    CheckCall(ControlRecord(*QueryDoc(), kControlOutlineDepth, &count), "Control(2003)");
    WriteLogLine(QStringLiteral("BookMarkLevelCount2"));
    return count;
}

void TTavloConvert::FillChildren(const TOutlineNode& parent, std::vector<TBookmarkTreeNode>& nodes)
{
    for (int c = 0; c < parent.ChildCount; ++c) {
        const TOutlineNode child = FetchChild(parent, c);
        TBookmarkTreeNode& added = nodes.emplace_back();
        added.Title = QString::fromUtf16(child.Title);
        FillChildren(child, added.Children);
    }
}

int TTavloConvert::FillBookmarkTree(const TFileInfo& document, std::vector<TBookmarkTreeNode>& tree)
{
    const std::unique_lock lock = LockRun();
    WriteLogLine(QStringLiteral("GetBookMark1"));
    tree.clear();
    const TOpenedQuery opened(QueryDoc(), document.Source());
    if (!opened.Opened())
        return 0;
    TOutlineNode root{};
    root.ChildIndex = 1;
    CheckCall(ControlRecord(*QueryDoc(), kControlOutlineNode, &root), "Control(2002)");
    FillChildren(root, tree);
    if (root.ChildCount > 0)
        WriteLogLine(QStringLiteral("GetBookMark1"));
    return 0;
}

bool TTavloConvert::PlanOnly()
{
    const std::unique_lock lock = LockRun();
    if (!FPageList)
        FPageList = std::make_unique<TPageList>();
    FCreateFolders = false;
    const auto restore = qScopeGuard([this] { FCreateFolders = true; });
    BuildPageList();
    for (int i = 0; i < FPageList->Count(); ++i) {
        if (!FPageList->Items(i)->IsPlaceholder())
            return true;
    }
    return false;
}

void TTavloConvert::InitDocObject(IDocObject& document)
{
    document.Control(kControlRunOptions,
                     FKeepNavigation ? kRunOptionsOfRun : kRunOptionsOfRun & ~kRunOptionNavigation);
}

void TTavloConvert::AfterStop()
{
    // Only what this run made; never a folder named by an older OutFile, nor anything that
    // was in the folder besides the run's own files.
    Outputs().Discard(FDiscardToTrash);
}
