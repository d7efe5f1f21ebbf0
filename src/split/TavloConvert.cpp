#include "split/TavloConvert.h"

#include "model/TavloProj.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/RunLog.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <climits>

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

// Moves the folder to the user's trash; where there is none, removes it.
void TrashFolder(const QString& folder)
{
    QString path = QDir::cleanPath(folder);
    if (path.isEmpty() || path == QStringLiteral("/") || !QFileInfo(path).isDir())
        return;
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString pathInTrash;
    if (QFile::moveToTrash(path, &pathInTrash) && QFileInfo(pathInTrash).isAbsolute())
        return;
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
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

QString TTavloConvert::GetOutputFolder(const QString& source, const QString& outputFolder,
                                       bool useCustom, bool create)
{
    const QString name = BaseName(source);
    const QString base = useCustom && !outputFolder.trimmed().isEmpty()
                             ? WithTrailingBackslash(outputFolder) + name
                             : FolderOf(source) + name;
    QString candidate = base;
    for (int i = 1; QFileInfo::exists(candidate) && i <= INT_MAX - 1; ++i)
        candidate = base + QStringLiteral("(%1)").arg(i);
    if (create && !QFileInfo(candidate).isDir() && !QDir().mkpath(candidate))
        throw ERunError(QStringLiteral("cannot create the folder %1").arg(candidate));
    return WithTrailingBackslash(candidate);
}

QString TTavloConvert::GetUniqueOutputName(const QString& source, const QString& outputFolder,
                                           bool useCustom, const QString& extension)
{
    if (FOutFolderCount == 0) {
        FOutFolder = GetOutputFolder(source, outputFolder, useCustom, FCreateFolders);
        ++FOutFolderCount;
    }
    QSet<QString> used;
    for (int i = 0; i < FPageList->Count(); ++i)
        used.insert(FileNameKey(FPageList->Items(i)->OutPage()->FileName()));
    const QString stem = FOutFolder + BaseName(source);
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral("(%1)").arg(n) + extension;
        if (!used.contains(FileNameKey(candidate)))
            return candidate;
    }
}

QString TTavloConvert::OutputName(const TFileInfo& document)
{
    return GetUniqueOutputName(document.Source(), ProductConfig().CustomDir,
                               ProductConfig().CustomPath,
                               Job().Setting()->OutputFormat()->ExtName());
}

void TTavloConvert::AddEntry(TFileInfo& document, int documentIndex, int page, int inPageIndex,
                             const QString& outName, int outFileIndex, int outPageIndex)
{
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
}

void TTavloConvert::BuildPageList()
{
    FPageList->Clear();
    FOutFolderCount = 0;
    FOutFolder.clear();
    TFileList& files = *Job().Files();
    for (int i = 0; i < files.Count(); ++i) {
        TFileInfo& document = *files.Items(i);
        document.RefreshPageList();
        document.SetPageScore(AllPages());
        if (document.PageList().isEmpty()) {
            TConvPageInfo* placeholder = FPageList->NewItem();
            placeholder->SetFileInfo(&document);
            placeholder->InPage()->SetFileIndex(i);
            document.SetFileStatus(fsSkip);
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

void TTavloConvert::PlanAverage(TFileInfo& document, int documentIndex)
{
    const int parts = std::max(1, Job().Method()->AvgSplitNum());
    const int total = document.TotalPage();
    const QString folder = FolderOf(OutputName(document));
    const QString base = BaseName(document.Source());
    const QList<int> pages = document.PageList();
    int rest = total % parts;
    const int size = total / parts;
    int low = 0;
    for (int k = 1; k <= parts; ++k) {
        const int high = rest > 0 ? low + size + 1 : low + size;
        const QString name = folder + base + QStringLiteral("(%1)").arg(k) + QStringLiteral(".pdf");
        int position = 0;
        for (int j = 0; j < pages.size(); ++j) {
            const int page = std::max(pages[j], 0);
            if (page > low && page <= high)
                AddEntry(document, documentIndex, page, j, name, k - 1, position++);
        }
        low = high;
        --rest;
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
        if (FOutFolderCount == 0) {
            FOutFolder = GetOutputFolder(Job().Files()->Items(0)->Source(),
                                         ProductConfig().CustomDir, ProductConfig().CustomPath,
                                         FCreateFolders);
            ++FOutFolderCount;
        }
        const QString name = FOutFolder + definition.OutFile();
        const QList<int> pages = document.PageList();
        for (int j = 0; j < pages.size(); ++j)
            AddEntry(document, documentIndex, pages[j], j, name, i, j);
    }
}

TOutlineNode TTavloConvert::FetchChild(const TOutlineNode& parent, int childIndex)
{
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
    const TBookMarkOption& option = *Job().Method()->BookMarkOption();
    const int level = option.LevelNum();
    const int lowest = option.SaveHigherLevel() ? 1 : level;
    for (int l = level; l >= lowest; --l)
        PlanBookmarkLevel(root, l, document, documentIndex);
}

void TTavloConvert::PlanBookmarkLevel(const TOutlineNode& node, int level, TFileInfo& document,
                                      int documentIndex)
{
    for (int c = 0; c < node.ChildCount; ++c) {
        const TOutlineNode child = FetchChild(node, c);
        if (node.Level == 0 ? level == 1 : level - 1 == node.Level)
            PlanBookmarkOutput(child, document, documentIndex);
        else
            PlanBookmarkLevel(child, level, document, documentIndex);
    }
}

void TTavloConvert::PlanBookmarkOutput(const TOutlineNode& node, TFileInfo& document,
                                       int documentIndex)
{
    const int outIndex = FPageList->OutputFileCount();
    const QString name = OutputName(document);
    const int first = node.FirstPage;
    const int last = Job().Method()->BookMarkOption()->BothPage() ? node.LastPageBoth
                                                                   : node.LastPage;
    for (int p = first; p <= last; ++p)
        AddEntry(document, documentIndex, p, p - 1, name, outIndex, p - 1);
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
    try {
        BuildPageList();
    } catch (...) {
        FCreateFolders = true;
        throw;
    }
    FCreateFolders = true;
    for (int i = 0; i < FPageList->Count(); ++i) {
        if (!FPageList->Items(i)->IsPlaceholder())
            return true;
    }
    return false;
}

void TTavloConvert::InitDocObject(IDocObject& document)
{
    document.Control(kControlRunOptions, kRunOptionsOfRun);
}

void TTavloConvert::AfterStop()
{
    // Only the folder that this run's planning made; never one named by an older OutFile.
    if (!FOutFolder.isEmpty())
        TrashFolder(FOutFolder);
}
