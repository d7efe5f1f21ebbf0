#pragma once

// The document project: the input documents of a job, the input and output format settings
// and the engine instance that the project holds while it lives.

#include "engine/ComPtr.h"
#include "engine/DocEngine.h"
#include "model/BaseProj.h"
#include "shell/DefineShare.h"

#include <QList>
#include <QStringList>

// One input document: its path, what the engine reports about it (page count, passwords),
// the page selection and the processing status.
class TFileInfo : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(QString Source READ Source WRITE SetSource)
    Q_PROPERTY(QString OutFile READ OutFile WRITE SetOutFile)
    Q_PROPERTY(qint64 FileSize READ FileSize WRITE SetFileSize)
    Q_PROPERTY(int TotalPage READ TotalPage WRITE SetTotalPage)
    Q_PROPERTY(DefineShare::TFileFormat FileFormat READ FileFormat WRITE SetFileFormat)
    Q_PROPERTY(QString PageScore READ PageScore WRITE SetPageScore)
    Q_PROPERTY(TFileStatus FileStatus READ FileStatus WRITE SetFileStatus)
    Q_PROPERTY(bool UserPass READ UserPass WRITE SetUserPass)
    Q_PROPERTY(QString OwerPasswd READ OwerPasswd WRITE SetOwerPasswd)
    Q_PROPERTY(QString UserPassword READ UserPassword WRITE SetUserPassword)
    Q_PROPERTY(bool PasswdRight READ PasswdRight WRITE SetPasswdRight)
    Q_PROPERTY(QStringList PageList READ GetPageList)
    Q_PROPERTY(double ConvertTime READ ConvertTime WRITE SetConvertTime)
    Q_PROPERTY(bool HasPasswd READ HasPasswd WRITE SetHasPasswd)
    Q_PROPERTY(bool OCRFileFlag READ OCRFileFlag WRITE SetOCRFileFlag)

public:
    enum TFileStatus : quint8
    {
        fsNew,
        fsSkip,
        fsCoverting,
        fsFinish,
        fsError,
        fsNotExists
    };
    Q_ENUM(TFileStatus)

    explicit TFileInfo(TPersistent* owner = nullptr) : TProjObj(owner) {}

    const QString& Source() const { return FSource; }
    // Stores the path. While OutFile is empty it also names OutFile after the path with the
    // word-processing extension and reads the file's size (0 when it cannot be opened).
    void SetSource(const QString& value);

    const QString& OutFile() const { return FOutFile; }
    void SetOutFile(const QString& value) { FOutFile = value; }

    qint64 FileSize() const { return FFileSize; }
    void SetFileSize(qint64 value) { FFileSize = value; }

    // -1 while the page count is unknown (an open password is missing or wrong).
    int TotalPage() const { return FTotalPage; }
    // Writing -1 also empties the page list; no value rebuilds it (see RefreshPageList).
    void SetTotalPage(int value);

    TFileFormat FileFormat() const { return FFileFormat; }
    void SetFileFormat(TFileFormat value) { FFileFormat = value; }

    const QString& PageScore() const { return FPageScore; }
    // A different text rebuilds the page list and starts the document over: FileStatus fsNew,
    // OutFile empty, ConvertTime 0. The same text again changes nothing.
    void SetPageScore(const QString& value);

    TFileStatus FileStatus() const { return FFileStatus; }
    void SetFileStatus(TFileStatus value) { FFileStatus = value; }

    bool UserPass() const { return FUserPass; }
    void SetUserPass(bool value) { FUserPass = value; }

    const QString& OwerPasswd() const { return FOwerPasswd; }
    void SetOwerPasswd(const QString& value) { FOwerPasswd = value; }

    const QString& UserPassword() const { return FUserPassword; }
    void SetUserPassword(const QString& value) { FUserPassword = value; }

    bool PasswdRight() const { return FPasswdRight; }
    void SetPasswdRight(bool value) { FPasswdRight = value; }

    // The expanded page selection: page numbers in the order of PageScore.
    const QList<int>& PageList() const { return FPageList; }
    // The same as decimal texts.
    Q_INVOKABLE QStringList GetPageList() const;
    // Expands PageScore again for the current TotalPage, touching nothing else.
    void RefreshPageList();

    double ConvertTime() const { return FConvertTime; }
    void SetConvertTime(double value) { FConvertTime = value; }

    bool HasPasswd() const { return FHasPasswd; }
    void SetHasPasswd(bool value) { FHasPasswd = value; }

    bool OCRFileFlag() const { return FOCRFileFlag; }
    void SetOCRFileFlag(bool value) { FOCRFileFlag = value; }

    // Whether the document's pages can be used: a document that needs an open password only
    // once the password was accepted.
    bool IsAccessible() const { return !FUserPass || FPasswdRight; }

private:
    QString FSource;
    QString FOutFile;
    qint64 FFileSize = 0;
    int FTotalPage = 0;
    TFileFormat FFileFormat = ffWord;
    QString FPageScore;
    TFileStatus FFileStatus = fsNew;
    bool FUserPass = false;
    QString FOwerPasswd;
    QString FUserPassword;
    bool FPasswdRight = false;
    QList<int> FPageList;
    double FConvertTime = 0;
    bool FHasPasswd = false;
    bool FOCRFileFlag = false;
};

using TFileStatus = TFileInfo::TFileStatus;
using enum TFileInfo::TFileStatus;

class TFileList : public TProjObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TFileList(TPersistent* owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass<TFileInfo>();
    }

    TFileInfo* NewItem() { return static_cast<TFileInfo*>(TProjObjList::NewItem()); }
    TFileInfo* Items(int i) const { return static_cast<TFileInfo*>(TProjObjList::Items(i)); }

    // Empties OutFile of every document.
    void ClearOutFiles();
};

// A row of the format table: the extension of files in the format and the name of its
// version, the keys by which the engine's adapters are found.
struct TFileAttr
{
    QString ExtName;
    QString VersionName;
};

// A format descriptor.
class TFileItr : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(DefineShare::TFileFormat Format READ Format WRITE SetFormat)
    Q_PROPERTY(QString ExtName READ ExtName)
    Q_PROPERTY(QString VersionName READ VersionName)

public:
    explicit TFileItr(TPersistent* owner = nullptr) : TProjObj(owner) {}
    explicit TFileItr(TFileFormat format) : FFormat(format) {}

    TFileFormat Format() const { return FFormat; }
    void SetFormat(TFileFormat value) { FFormat = value; }

    QString ExtName() const { return GetFileAttr().ExtName; }
    QString VersionName() const { return GetFileAttr().VersionName; }

    // The row of the format table for Format. No office suite is looked for on this
    // platform, so the office formats are those of the current office versions; ffTiff has
    // no row and gives two empty texts.
    TFileAttr GetFileAttr() const;

private:
    TFileFormat FFormat = ffWord;
};

// The input and output formats, as the configuration names them when the setting is made.
class TSetting : public TProjObj
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TSetting(TPersistent* owner = nullptr);
    ~TSetting() override;

    TFileItr* InputFormat() const { return FInputFormat.get(); }
    TFileItr* OutputFormat() const { return FOutputFormat.get(); }

private:
    std::unique_ptr<TFileItr> FInputFormat;
    std::unique_ptr<TFileItr> FOutputFormat;
};

// An engine adapter: its file type and version name and a document object of it.
class TConvertAdpterInfo : public TProjObj
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TConvertAdpterInfo(TPersistent* owner = nullptr) : TProjObj(owner) {}

    const QString& FileType() const { return FFileType; }
    void SetFileType(const QString& value) { FFileType = value; }
    const QString& VersionName() const { return FVersionName; }
    void SetVersionName(const QString& value) { FVersionName = value; }
    const ComPtr<IDocObject>& DocObject() const { return FDocObject; }
    void SetDocObject(ComPtr<IDocObject> value) { FDocObject = std::move(value); }

private:
    QString FFileType;
    QString FVersionName;
    ComPtr<IDocObject> FDocObject;
};

class TAdpterList : public TProjObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    explicit TAdpterList(TPersistent* owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass<TConvertAdpterInfo>();
    }

    TConvertAdpterInfo* NewItem()
    {
        return static_cast<TConvertAdpterInfo*>(TProjObjList::NewItem());
    }
    TConvertAdpterInfo* Items(int i) const
    {
        return static_cast<TConvertAdpterInfo*>(TProjObjList::Items(i));
    }
};

// The document project, saved as "PDFProduct". It creates one instance of the document engine
// when it is made and releases it with itself; without the engine module it holds none.
class TPDFProj : public TBaseProj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(TFileList* Files READ Files)

public:
    // The engine module is looked for in the program's folder, or in engineFolder.
    TPDFProj();
    explicit TPDFProj(const QString& engineFolder);
    ~TPDFProj() override;

    TFileList* Files() const { return FFiles.get(); }
    TSetting* Setting() const { return FSetting.get(); }
    TAdpterList* Adapters() const { return FAdapters.get(); }
    // Empty when the engine module or its entry point is missing.
    const ComPtr<IEnumCtrl>& Engine() const { return FEngine; }

private:
    TSubObject<TFileList> FFiles{this};
    std::unique_ptr<TSetting> FSetting;
    std::unique_ptr<TAdpterList> FAdapters;
    ComPtr<IEnumCtrl> FEngine;
};
