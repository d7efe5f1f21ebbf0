#pragma once

#include "shell/DefineShare.h"
#include "shell/IniFile.h"

// The product configuration, "Config.ini" (where: DataFolders): product identity, language,
// skin, single-instance name, output folder settings, the open dialog's folder and the web
// addresses of the menu commands. Read at start-up, changed in memory while the program runs,
// written back at exit.
class TProductConfig : public TIniFile
{
public:
    explicit TProductConfig(const QString& fileName);

    // The start-up order: system section, languages, product names, then everything else,
    // all from one reading of the file.
    void StartUp();

    void LoadSystemSection();
    void ComposeProductNames();
    // Reads the file anew and every field from it.
    void LoadAll();
    // Each saves the file once.
    void SaveAll();
    void SaveSystemSection();

    // The user's documents folder followed by the product title; where the user has no
    // documents folder, "Output" beside the executable, created at once, unless the program
    // keeps its files in the user's folders (DataFolders): then still the documents folder.
    QString GetDefaultOutputFolder() const;

    // Checks CustomDir before it is used and offers to create a missing folder. Tells the user
    // why when the folder cannot be used, and answers whether it exists now.
    bool CheckOutputFolder();

    int DataCellectID = 839;
    int ProductID = 417;
    QString MakerName;
    QString ProductTitle;
    QString AppExeName;
    QString AppName;
    QString FAQPage, ProductPage, ADPage, SupportPage, BetaURL, HomePage, HelpPage, ContactPage;
    QString DefLanguage;
    QString OCRSrcUrl;
    bool CustomPath = true;
    QString CustomDir;
    // Outputs keep the bookmarks and links of their pages; off: bare copies of the pages.
    bool KeepNavigation = true;
    // How many outputs are written at once; 0: as many as the processors the program may use.
    int Jobs = 0;
    // The outputs of a bookmark split are named after their bookmarks' titles.
    bool NameByTitle = false;
    QString InitDir;
    QString MutexName;
    QString BetaEmail;
    TFileFormat InFormat = ffPdf;
    TFileFormat OutFormat = ffPdf;
    bool SupportUpdate = true;
    QString DefSkinDir;
    QString SkinSubfolder;
    QString UEEnable, UEOnceCollect, FirstStart;
    int OCRCJKDownloadSize = 0, OCRCJKPackAllSize = 0, OCRProgressPos = 0;
    bool ShowScanForm = true;

    // Whether the password balloon is shown; true at every start and never stored.
    bool ShowPasswordBalloon = true;

private:
    void LoadSections();
    void LoadUrlSection();
    void LoadOcrKeys();
    void LoadOutputSection();
    void LoadOtherSection();
    void LoadFormatSection();
    TFileFormat ReadFormat(const QString& key, TFileFormat def) const;
    void WriteFormat(const QString& key, TFileFormat format);
    void WriteFolder(const QString& section, const QString& key, const QString& folder);
};

// The process-wide configuration, created over DataFolders().ConfigFile on first use.
TProductConfig& ProductConfig();
