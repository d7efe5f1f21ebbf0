#pragma once

// The page map of one split run: one entry per page to copy, naming the input page and the
// place in an output file that receives it. The planner fills it; the run walks it from the
// first entry to the last and opens and closes documents as it says.

#include "engine/ComPtr.h"
#include "engine/DocEngine.h"
#include "model/BaseProj.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TFileInfo;

// A file name as the map compares it: the whole path, only the letters A-Z folded.
QString FileNameKey(const QString& fileName);

// One side of an entry: the input page or its place in an output file.
class TPageInfo : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(int PageValue READ PageValue WRITE SetPageValue)
    Q_PROPERTY(int FileIndex READ FileIndex WRITE SetFileIndex)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)

public:
    explicit TPageInfo(TPersistent* owner = nullptr) : TProjObj(owner) {}

    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    int PageValue() const { return FPageValue; }
    void SetPageValue(int value) { FPageValue = value; }
    int FileIndex() const { return FFileIndex; }
    void SetFileIndex(int value) { FFileIndex = value; }
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int value) { FPageIndex = value; }

    // The engine document that serves this side's file during a run. Entries of one file
    // share one slot once the map has indexed them, so setting or clearing it on one entry
    // sets or clears it on every entry of the file.
    ComPtr<IDocObject> DocObject() const;
    void SetDocObject(ComPtr<IDocObject> value);

private:
    friend class TPageList;
    using TDocSlot = std::shared_ptr<ComPtr<IDocObject>>;

    QString FFileName;
    int FPageValue = 0;
    int FFileIndex = 0;
    int FPageIndex = 0;
    TDocSlot FDocSlot;
};

// One entry of the map.
class TConvPageInfo : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(TPageInfo* InPage READ InPage)
    Q_PROPERTY(TPageInfo* OutPage READ OutPage)

public:
    explicit TConvPageInfo(TPersistent* owner = nullptr) : TProjObj(owner) {}

    TPageInfo* InPage() const { return FInPage.get(); }
    TPageInfo* OutPage() const { return FOutPage.get(); }

    // The input document; not owned.
    TFileInfo* FileInfo() const { return FFileInfo; }
    void SetFileInfo(TFileInfo* value) { FFileInfo = value; }

    // A placeholder stands for a document without pages to copy: it names no file.
    bool IsPlaceholder() const { return FInPage->FileName().isEmpty(); }

private:
    TSubObject<TPageInfo> FInPage{this};
    TSubObject<TPageInfo> FOutPage{this};
    TFileInfo* FFileInfo = nullptr;
};

// The page map. Its first/last tests answer in constant time: the map indexes the file
// names (letters A-Z without case) the first time it is asked after entries were added or
// removed. File names of entries are not changed once the run has begun.
class TPageList : public TProjObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TPageList(TPersistent* owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass<TConvPageInfo>();
    }

    TConvPageInfo* NewItem() { return static_cast<TConvPageInfo*>(TProjObjList::NewItem()); }
    TConvPageInfo* Items(int i) const
    {
        return static_cast<TConvPageInfo*>(TProjObjList::Items(i));
    }

    int CurrentIndex() const { return FCurrentIndex; }
    void SetCurrentIndex(int value) { FCurrentIndex = value; }

    TConvPageInfo* Current() const { return Items(FCurrentIndex); }
    bool IsLast() const { return FCurrentIndex == Count() - 1; }
    bool IsFirstOfInput() const;
    // Also true for every entry of a document whose status is fsSkip.
    bool IsLastOfInput() const;
    bool IsFirstOfOutput() const;
    bool IsLastOfOutput() const;

    // Clear the current side's document object in every entry that holds it, then close it.
    // Without one they do nothing. CloseCurrentOutput is false when an open output was closed
    // without being written (abandoned, or its write failed).
    void CloseCurrentInput();
    bool CloseCurrentOutput();

    // Number of distinct OutPage.FileIndex values.
    int OutputFileCount() const;

    // The output files that take pages of the input file, in the order of their first entry,
    // each with the input pages (1-based) it takes in its order, and whether it also takes
    // pages of another input.
    struct TOutputPages
    {
        QString FileName;
        std::vector<std::int32_t> Pages;
        bool Shared;
    };
    std::vector<TOutputPages> OutputsOf(const QString& inputFile) const;

    // One line per entry in the dump's format, each ended by CR LF.
    QByteArray DumpText() const;
    // Writes DumpText to folder + "Pagelist.txt" when folder + "Debug.txt" exists.
    void WriteDump(const QString& folder) const;

    // Indexes the names now (the tests do so on demand).
    void Reindex() const;

    void Changed() override;

private:
    enum TEntryFlag : std::uint8_t
    {
        efFirstOfInput = 1,
        efLastOfInput = 2,
        efFirstOfOutput = 4,
        efLastOfOutput = 8,
    };

    bool CurrentHas(TEntryFlag flag) const;
    // False when the document was open and its Close answered that nothing was written.
    bool CloseCurrent(TPageInfo* side);

    int FCurrentIndex = 0;
    mutable std::vector<std::uint8_t> FFlags;
    mutable bool FIndexed = false;
};
