#pragma once

// The split planner: turns the split job and its documents into the page map of one run,
// and names and creates the run's output folder. The run (TConvert) then copies the map.

#include "split/Convert.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class TFileInfo;

// A bookmark of the tree shown by the bookmark dialog.
struct TBookmarkTreeNode
{
    QString Title;
    std::vector<TBookmarkTreeNode> Children;
};

class TTavloConvert : public TConvert
{
public:
    explicit TTavloConvert(TTavloProj& job);

    // Where the output folder of source goes, before "(n)" is added: beside the source, or in
    // outputFolder when useCustom is set and outputFolder is not empty; named after the
    // source. The path is used as it is, blanks and all.
    static QString OutputFolderBase(const QString& source, const QString& outputFolder,
                                    bool useCustom);

    // The first "<FOutFolder><source name>(n)<extension>" that no entry of the map uses;
    // makes the run's output folder at the first call of a planning pass.
    QString GetUniqueOutputName(const QString& source, const QString& outputFolder,
                                bool useCustom, const QString& extension);

    void PlanEveryPage(TFileInfo& document, int documentIndex);
    void PlanAverage(TFileInfo& document, int documentIndex);
    void PlanRanges(TFileInfo& document, int documentIndex);
    void PlanCustom(TFileInfo& document, int documentIndex);
    void PlanBookmarks(TFileInfo& document, int documentIndex);

    // Depth of the document's bookmark tree; 0 when it cannot be read.
    int GetBookmarkLevelCount(const TFileInfo& document);
    // Replaces tree by the document's bookmark titles. Always 0.
    int FillBookmarkTree(const TFileInfo& document, std::vector<TBookmarkTreeNode>& tree);

    // Plans a run without making its folder or starting it (a dry run): the page map then
    // holds the plan. False when it has no page to copy. Throws EPlanError or EPlanStopped as
    // planning a run does.
    bool PlanOnly();

    // The run's output folder (empty before the first planning pass).
    const QString& OutFolder() const { return FOutFolder; }

    // How a stopped or failed run gets rid of what it wrote: with useTrash (the window) its
    // folder goes to the user's trash where the trash can take it; otherwise (the default)
    // its files and its folder are removed.
    void SetDiscardToTrash(bool useTrash) { FDiscardToTrash = useTrash; }
    // Whether outputs keep the bookmarks and links of their pages (the default), or are bare
    // copies of the pages.
    void SetKeepNavigation(bool keep) { FKeepNavigation = keep; }

    // Pages of the last plan's documents that a bookmark split put into no output (before
    // the first bookmark, or under no bookmark of the levels chosen): one line per document,
    // "<file name>: <pages>". Also written to the run log.
    const QStringList& LeftOutPages() const { return FLeftOutPages; }

    // The outline handle (TOutlineNode::NodeRef) of the bookmark whose section the output file
    // of the last plan is; 0 when it is not a bookmark's section.
    std::int32_t LeadBookmarkOf(const QString& outputFile) const override;

protected:
    void BuildPageList() override;
    void InitDocObject(IDocObject& document) override;
    void AfterStop() override;

private:
    QString OutputName(const TFileInfo& document);
    void MakeOutFolder(const QString& source, const QString& outputFolder, bool useCustom);
    void AddPlaceholder(TFileInfo& document, int documentIndex);
    void AddEntry(TFileInfo& document, int documentIndex, int page, int inPageIndex,
                  const QString& outName, int outFileIndex, int outPageIndex);
    // One bookmark's output, as the outline walk finds it.
    struct TBookmarkSection
    {
        std::int32_t NodeRef;
        int FirstPage;
        int LastPage;
        QString Title; // only when outputs are named after their titles
    };
    void CollectBookmarkLevel(const TOutlineNode& node, int level,
                              std::vector<TBookmarkSection>& sections);
    void PlanBookmarkSections(const std::vector<TBookmarkSection>& sections, TFileInfo& document,
                              int documentIndex);
    void PlanBookmarkOutput(const TBookmarkSection& section, const QString& name,
                            TFileInfo& document, int documentIndex);
    TOutlineNode FetchChild(const TOutlineNode& parent, int childIndex);
    void FillChildren(const TOutlineNode& parent, std::vector<TBookmarkTreeNode>& nodes);
    void NoteLeftOutPages(const TFileInfo& document, int documentIndex, int firstEntry);
    void CheckOutputNames() const;
    void CheckStop() const;

    bool FCreateFolders = true;
    bool FDiscardToTrash = false;
    bool FKeepNavigation = true;
    int FOutFolderCount = 0;
    QString FOutFolder;
    // Kept as the map grows, so that naming an output does not walk the whole map.
    QSet<QString> FUsedOutputKeys;
    QHash<QString, int> FNextOutputNumber;
    QSet<int> FOutputIndexes;
    QHash<QString, std::int32_t> FLeadBookmarks; // output file key -> its section's bookmark
    QStringList FLeftOutPages;
};
