#pragma once

// The split job: the document project plus the split method with all of its parameters.
// Every property write here is a plain store; page strings are validated where they are
// edited, and SettingsComplete is the one check before a run.

#include "model/PDFProj.h"

// How the outputs of a bookmark split are named: "name(k)", after their bookmarks' titles, or
// after their titles behind a number that keeps them in order ("01 Introduction").
enum TTitleNaming
{
    tnNone,
    tnTitle,
    tnNumberedTitle
};

// Parameters of the bookmark split.
class TBookMarkOption : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(int LevelNum READ LevelNum WRITE SetLevelNum)
    Q_PROPERTY(bool BothPage READ BothPage WRITE SetBothPage)
    Q_PROPERTY(bool SaveHigherLevel READ SaveHigherLevel WRITE SetSaveHigherLevel)

public:
    explicit TBookMarkOption(TPersistent* owner = nullptr) : TProjObj(owner) {}

    // Outline level at which documents are cut, 1 for the top level.
    int LevelNum() const { return FLevelNum; }
    void SetLevelNum(int value) { FLevelNum = value; }
    // A page on which a bookmark starts below its top goes into both neighbouring files.
    bool BothPage() const { return FBothPage; }
    void SetBothPage(bool value) { FBothPage = value; }
    // Also make the files of every higher level.
    bool SaveHigherLevel() const { return FSaveHigherLevel; }
    void SetSaveHigherLevel(bool value) { FSaveHigherLevel = value; }
    // A TTitleNaming; anything else names as tnNone. Not published: the job file's layout
    // is fixed, and the window keeps this choice in its settings.
    int TitleNaming() const { return FTitleNaming; }
    void SetTitleNaming(int value) { FTitleNaming = value; }

private:
    int FLevelNum = 0;
    bool FBothPage = false;
    bool FSaveHigherLevel = false;
    int FTitleNaming = tnNone;
};

// Parameters of the page-range split: one output of the named pages, and optionally a second
// one of all other pages.
class TPageRange : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(QString RangeStr READ RangeStr WRITE SetRangeStr)
    Q_PROPERTY(bool NeedOtherPage READ NeedOtherPage WRITE SetNeedOtherPage)

public:
    explicit TPageRange(TPersistent* owner = nullptr) : TProjObj(owner) {}

    const QString& RangeStr() const { return FRangeStr; }
    void SetRangeStr(const QString& value) { FRangeStr = value; }
    bool NeedOtherPage() const { return FNeedOtherPage; }
    void SetNeedOtherPage(bool value) { FNeedOtherPage = value; }

private:
    QString FRangeStr;
    bool FNeedOtherPage = false;
};

// One output file of the custom split: its name and its pages in output order.
class TAdvDefine : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(QString OutFile READ OutFile WRITE SetOutFile)
    Q_PROPERTY(QString PageStr READ PageStr WRITE SetPageStr)

public:
    explicit TAdvDefine(TPersistent* owner = nullptr) : TProjObj(owner) {}

    const QString& OutFile() const { return FOutFile; }
    void SetOutFile(const QString& value) { FOutFile = value; }
    const QString& PageStr() const { return FPageStr; }
    void SetPageStr(const QString& value) { FPageStr = value; }

private:
    QString FOutFile;
    QString FPageStr;
};

// The custom split's output files, in output order.
class TAdvDefineList : public TProjObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TAdvDefineList(TPersistent* owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass<TAdvDefine>();
    }

    TAdvDefine* NewItem() { return static_cast<TAdvDefine*>(TProjObjList::NewItem()); }
    TAdvDefine* Items(int i) const { return static_cast<TAdvDefine*>(TProjObjList::Items(i)); }
};

// The split method and the parameters of every method; choosing another method keeps the
// parameters of the others.
class TMethod : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(TSplitOption Option READ Option WRITE SetOption)
    Q_PROPERTY(int EveryPageNum READ EveryPageNum WRITE SetEveryPageNum)
    Q_PROPERTY(TBookMarkOption* BookMarkOption READ BookMarkOption)
    Q_PROPERTY(TPageRange* RangeStr READ RangeStr)
    Q_PROPERTY(TAdvDefineList* AdvDefine READ AdvDefine)
    Q_PROPERTY(int AvgSplitNum READ AvgSplitNum WRITE SetAvgSplitNum)

public:
    // The planner dispatches on these numbers.
    enum TSplitOption : quint8
    {
        soEveryPage,
        soBookMarkLever,
        soPageRange,
        soCustom,
        soAverge
    };
    Q_ENUM(TSplitOption)

    explicit TMethod(TPersistent* owner = nullptr) : TProjObj(owner) {}

    TSplitOption Option() const { return FOption; }
    void SetOption(TSplitOption value) { FOption = value; }
    // soEveryPage: pages per output file.
    int EveryPageNum() const { return FEveryPageNum; }
    void SetEveryPageNum(int value) { FEveryPageNum = value; }
    TBookMarkOption* BookMarkOption() const { return FBookMarkOption.get(); }
    TPageRange* RangeStr() const { return FRangeStr.get(); }
    TAdvDefineList* AdvDefine() const { return FAdvDefine.get(); }
    // soAverge: number of output files of (nearly) equal length.
    int AvgSplitNum() const { return FAvgSplitNum; }
    void SetAvgSplitNum(int value) { FAvgSplitNum = value; }

private:
    TSplitOption FOption = soEveryPage;
    int FEveryPageNum = 0;
    TSubObject<TBookMarkOption> FBookMarkOption{this};
    TSubObject<TPageRange> FRangeStr{this};
    TSubObject<TAdvDefineList> FAdvDefine{this};
    int FAvgSplitNum = 0;
};

using TSplitOption = TMethod::TSplitOption;
using enum TMethod::TSplitOption;

// The split job.
class TTavloProj : public TPDFProj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(TMethod* Method READ Method)

public:
    TTavloProj() = default;
    explicit TTavloProj(const QString& engineFolder) : TPDFProj(engineFolder) {}

    TMethod* Method() const { return FMethod.get(); }

private:
    TSubObject<TMethod> FMethod{this};
};

// The settings completeness rule: whether the chosen method has a usable parameter. A run is
// refused, with the language text "sInitPageError", when it has not: fewer than one page per
// file, a bookmark level below 1, an empty (or blank) page range, no custom output, or fewer
// than one part. The page strings themselves are checked where they are edited.
bool SettingsComplete(const TMethod& method);
