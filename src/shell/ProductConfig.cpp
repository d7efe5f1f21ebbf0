#include "shell/ProductConfig.h"

#include "shell/DataFolders.h"
#include "shell/LanguageMgr.h"
#include "shell/MessageBox.h"
#include "shell/PathUtils.h"
#include "shell/RunLog.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>

#include <algorithm>

namespace {

const QString kSystem = QStringLiteral("SYSTEM");
const QString kOther = QStringLiteral("OTHER");
const QString kFormat = QStringLiteral("Format");
const QString kOutput = QStringLiteral("OUTPUT");
const QString kUrl = QStringLiteral("URL");

// Only absolute paths count: a relative one would depend on the folder the program was
// started from.
bool FolderExists(const QString& path)
{
    return QDir::isAbsolutePath(path) && QFileInfo(path).isDir();
}

// The document engine writes PDF only; a job or a stored file naming another output format
// would fail every run with "the PDF engine could not be loaded".
TFileFormat WritableOutputFormat(TFileFormat format)
{
    return format == ffPdf ? format : ffPdf;
}

void TellInvalidPath()
{
    ShowMessageBox(GetLangString(QStringLiteral("sInvalidPath")), MessageBoxButtons::Ok,
                   MessageBoxIcons::Information);
}

} // namespace

TProductConfig::TProductConfig(const QString& fileName) : TIniFile(fileName) {}

void TProductConfig::StartUp()
{
    Reload();
    LoadSystemSection();
    LanguageMgr().LoadLanguages(ApplicationFolder() + QStringLiteral("Languages/*.dat"));
    LanguageMgr().SelectLanguage(DefLanguage);
    ComposeProductNames();
    LoadSections();
}

void TProductConfig::LoadSystemSection()
{
    DefLanguage = ReadString(kSystem, QStringLiteral("DefLanguage"), QStringLiteral("ENG"));
    DefSkinDir = ReadString(kSystem, QStringLiteral("DefSkinDir"), QStringLiteral("English"));
    SkinSubfolder = QStringLiteral("skin") + QDir::separator() + DefSkinDir + QDir::separator();
    UEEnable = ReadString(kSystem, QStringLiteral("UEEnable"), QStringLiteral("0"));
    UEOnceCollect = ReadString(kSystem, QStringLiteral("UEOnceCollect"), QStringLiteral("0"));
    FirstStart = ReadString(kSystem, QStringLiteral("FirstStart"), QStringLiteral("0"));
    AppExeName = ReadString(kSystem, QStringLiteral("AppExeName"), QStringLiteral("DovrelPro.exe"));
    AppName = ReadString(kSystem, QStringLiteral("AppName"), GetLangString(QStringLiteral("AppName")));
    DataCellectID = ReadInteger(kSystem, QStringLiteral("DataCellectID"), 839);
}

void TProductConfig::ComposeProductNames()
{
    ProductID = ReadInteger(kSystem, QStringLiteral("ProductID"), 417);
    MakerName = QStringLiteral("Orvane");
    ProductTitle = MakerName + u' ' + GetLangString(QStringLiteral("AppName"));
}

void TProductConfig::LoadAll()
{
    Reload();
    LoadSections();
}

void TProductConfig::LoadSections()
{
    LoadUrlSection();
    LoadSystemSection();
    LoadOcrKeys();
    LoadOutputSection();
    LoadOtherSection();
    LoadFormatSection();
}

void TProductConfig::LoadUrlSection()
{
    HomePage = ReadString(kUrl, QStringLiteral("HomePage"), QString());
    ADPage = ReadString(kUrl, QStringLiteral("ADPage"), QString());
    SupportPage = ReadString(kUrl, QStringLiteral("SupportPage"), QString());
    FAQPage = ReadString(kUrl, QStringLiteral("FAQPage"), QString());
    BetaURL = ReadString(kUrl, QStringLiteral("BetaURL"), QString());
    ProductPage = ReadString(kUrl, QStringLiteral("ProductPage"), QString());
    HelpPage = ReadString(kUrl, QStringLiteral("HelpPage"), QString());
    ContactPage = ReadString(kUrl, QStringLiteral("ContactPage"), QString());
    OCRSrcUrl = ReadString(kUrl, QStringLiteral("OCRSrcUrl"), QString());
}

void TProductConfig::LoadOcrKeys()
{
    OCRCJKDownloadSize = ReadInteger(kSystem, QStringLiteral("OCRCJKDownloadSize"), 0);
    OCRCJKPackAllSize = ReadInteger(kSystem, QStringLiteral("OCRCJKPackAllSize"), 0);
    OCRProgressPos = ReadInteger(kSystem, QStringLiteral("OCRProgressPos"), 0);
}

void TProductConfig::LoadOutputSection()
{
    CustomPath = ReadBool(kOutput, QStringLiteral("CustomPath"), true);
    const QString defaultFolder = GetDefaultOutputFolder();
    CustomDir = ReadString(kOutput, QStringLiteral("CustomDir"), defaultFolder);
    if (!FolderExists(CustomDir))
        CustomDir = defaultFolder;
    CustomDir = WithTrailingBackslash(CustomDir);
    KeepNavigation = ReadBool(kOutput, QStringLiteral("KeepNavigation"), true);
    Jobs = std::max(ReadInteger(kOutput, QStringLiteral("Jobs"), 0), 0);
    NameByTitle = ReadBool(kOutput, QStringLiteral("NameByTitle"), false);
}

void TProductConfig::LoadOtherSection()
{
    InitDir = ReadString(kOther, QStringLiteral("InitDir"),
                         ApplicationFolder() + QStringLiteral("Sample") + QDir::separator());
    if (!FolderExists(InitDir))
        InitDir = MyDocumentsFolder();
    MutexName = ReadString(kOther, QStringLiteral("MutexName"), QStringLiteral("Orvane_Selvo"));
    BetaEmail = ReadString(kOther, QStringLiteral("BetaEmail"), QString());
    SupportUpdate = ReadBool(kOther, QStringLiteral("SupportUpdate"), true);
    ShowScanForm = ReadBool(kOther, QStringLiteral("ShowScanForm"), true);
}

void TProductConfig::LoadFormatSection()
{
    InFormat = ReadFormat(QStringLiteral("InFormat"), ffPdf);
    OutFormat = WritableOutputFormat(ReadFormat(QStringLiteral("OutFormat"), ffPdf));
}

TFileFormat TProductConfig::ReadFormat(const QString& key, TFileFormat def) const
{
    const QMetaEnum formats = QMetaEnum::fromType<TFileFormat>();
    const QString name = ReadString(kFormat, key, QString::fromLatin1(formats.valueToKey(def)));
    for (int i = 0; i < formats.keyCount(); ++i) {
        if (name.compare(QLatin1String(formats.key(i)), Qt::CaseInsensitive) == 0)
            return TFileFormat(formats.value(i));
    }
    return ffPdf;
}

void TProductConfig::WriteFormat(const QString& key, TFileFormat format)
{
    WriteString(kFormat, key, QString::fromLatin1(QMetaEnum::fromType<TFileFormat>().valueToKey(format)));
}

void TProductConfig::WriteFolder(const QString& section, const QString& key, const QString& folder)
{
    if (FitsOnOneLine(folder)) {
        WriteString(section, key, folder);
        return;
    }
    // Legal in a folder name here, but the file cannot hold it; the folder stored before stays.
    WriteLogLine(key + QStringLiteral(" not saved: the folder name holds a line break"));
}

void TProductConfig::SaveAll()
{
    Update([this] {
        WriteBool(kOutput, QStringLiteral("CustomPath"), CustomPath);
        WriteFolder(kOutput, QStringLiteral("CustomDir"), CustomDir);
        WriteBool(kOutput, QStringLiteral("KeepNavigation"), KeepNavigation);
        WriteInteger(kOutput, QStringLiteral("Jobs"), Jobs);
        WriteBool(kOutput, QStringLiteral("NameByTitle"), NameByTitle);
        WriteFolder(kOther, QStringLiteral("InitDir"), InitDir);
        WriteString(kOther, QStringLiteral("BetaEmail"), BetaEmail);
        WriteBool(kOther, QStringLiteral("SupportUpdate"), SupportUpdate);
        WriteFormat(QStringLiteral("OutFormat"), WritableOutputFormat(OutFormat));
        WriteBool(kOther, QStringLiteral("ShowScanForm"), ShowScanForm);
        SaveSystemSection();
    });
}

void TProductConfig::SaveSystemSection()
{
    Update([this] {
        WriteString(kSystem, QStringLiteral("DefLanguage"), DefLanguage);
        WriteString(kSystem, QStringLiteral("DefSkinDir"), DefSkinDir);
        WriteString(kSystem, QStringLiteral("UEOnceCollect"), UEOnceCollect);
        WriteString(kSystem, QStringLiteral("FirstStart"), FirstStart);
    });
}

QString TProductConfig::GetDefaultOutputFolder() const
{
    const QString documents = MyDocumentsFolder();
    // An installed program cannot fall back to its own folder: start-up makes a fresh
    // account's documents folder along with the output folder inside it.
    const bool perUser = DataFolders().PerUser && QDir::isAbsolutePath(documents);
    if (FolderExists(documents) || perUser)
        return documents + ProductTitle;
    const QString folder = ApplicationFolder() + QStringLiteral("Output");
    QDir().mkpath(folder);
    return folder;
}

bool TProductConfig::CheckOutputFolder()
{
    CustomDir = QDir::toNativeSeparators(CustomDir);
    if (CustomDir == QLatin1String(".")) {
        TellInvalidPath();
        return false;
    }
    CustomDir = WithTrailingBackslash(CustomDir);
    if (FolderExists(CustomDir))
        return true;
    if (!IsValidFolderPath(CustomDir)) {
        TellInvalidPath();
        return false;
    }
    const int answer = ShowMessageBox(GetLangString(QStringLiteral("sCreatePath")),
                                      MessageBoxButtons::YesNo, MessageBoxIcons::Question);
    if (answer != int(MessageBoxButton::Yes))
        return false;
    QDir().mkpath(CustomDir);
    if (!FolderExists(CustomDir)) {
        ShowMessageBox(GetLangString(QStringLiteral("sCreatePathErr")), MessageBoxButtons::Ok,
                       MessageBoxIcons::Information);
        return false;
    }
    return true;
}

TProductConfig& ProductConfig()
{
    static TProductConfig config(DataFolders().ConfigFile);
    return config;
}
