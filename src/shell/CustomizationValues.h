#pragma once

#include "OrvaneUtilities/OrvaneUtilitiesApi.h"

#include <QObject>
#include <QString>

// Language codes of the customization file, in their numbering.
namespace Customization {
Q_NAMESPACE
enum TLanguageCode { ENG, CHS, CHT, ZHH, FRA, ESP, ESM, DEU, JPN, PTG, RUS, ITA, PLK, ARG, HEB, KOR };
Q_ENUM_NS(TLanguageCode)
} // namespace Customization

using Customization::TLanguageCode;

// Values that a distributor sets in "Customization.xml" beside the executable, read through
// the customization module. Absent values are empty, false or 0.
struct TCustomizationValues
{
    int CBSJumpType = 0;
    int CustomizeType = 0;
    bool EnableAD = false;
    bool EnableUpdate = false;
    bool TipsEnable = false;
    bool EnableProductSuit = false;
    QString PID, InstallJumpPage, UninstallJumpPage, UpdateJumpPage, HomePage, ProductPage,
        SupportPage, ContactPage, HelpOnlinePage, OrvaneSuite, OrvaneSuiteTry, WriteAReview,
        SocialConnection, C1, C2, C3;
};

// Reads the customization file through the module in `moduleFolder` (the program's folder):
// first in English, then, when the configured language names another customization language,
// again in that language. A missing module or file leaves every value absent.
class TCustomization
{
public:
    void Load(const QString& moduleFolder, const QString& customizationFile,
              const QString& defLanguage);

    const TCustomizationValues& Values() const { return FValues; }
    TLanguageCode LanguageCode() const { return FLanguageCode; }
    int ReadCount() const { return FReadCount; }

    // Opens a web address of the customization through the installed opener (the module's
    // own opener cannot reach the desktop); false when the module is missing.
    bool OpenURL(const QString& address) const;

private:
    bool LoadModule(const QString& moduleFolder);
    void ReadAll();
    QString Read(const char* key, bool withExtraBuffer) const;

    TCustomizationValues FValues;
    TLanguageCode FLanguageCode = Customization::ENG;
    int FReadCount = 0;
    LoadCustomizeXMLFileWFunc FLoadFile = nullptr;
    ReadCustomizeInfoWFunc FRead = nullptr;
};

// The process-wide customization values.
TCustomization& CustomizationValues();
