#include "shell/CustomizationValues.h"

#include "shell/ShellOpen.h"

#include <QLibrary>
#include <QMetaEnum>

namespace {

constexpr int kValueBufferLength = 1024;
constexpr int kExtraBufferLength = 128;

int DecodeJumpType(const QString& value)
{
    if (value.compare(QLatin1String("Jump"), Qt::CaseInsensitive) == 0)
        return 1;
    if (value.compare(QLatin1String("Hide"), Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

int DecodeCustomizeType(const QString& value)
{
    if (value.compare(QLatin1String("Normal"), Qt::CaseInsensitive) == 0)
        return 1;
    if (value.compare(QLatin1String("DR"), Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

bool DecodeFlag(const QString& value)
{
    return value == QLatin1String("1");
}

// The customization language named by the configured language Id; English when it names none.
TLanguageCode CodeForLanguage(const QString& defLanguage)
{
    bool ok = false;
    const int value = QMetaEnum::fromType<TLanguageCode>().keyToValue(defLanguage.toUpper().toLatin1().constData(), &ok);
    return ok ? TLanguageCode(value) : Customization::ENG;
}

} // namespace

void TCustomization::Load(const QString& moduleFolder, const QString& customizationFile,
                          const QString& defLanguage)
{
    FValues = {};
    FLanguageCode = Customization::ENG;
    FReadCount = 0;
    const bool loaded = LoadModule(moduleFolder) &&
                        FLoadFile(reinterpret_cast<const char16_t*>(customizationFile.utf16())) != 0;
    if (loaded)
        ReadAll();
    const TLanguageCode configured = CodeForLanguage(defLanguage);
    if (configured != FLanguageCode) {
        FLanguageCode = configured;
        ReadAll();
    }
}

bool TCustomization::LoadModule(const QString& moduleFolder)
{
    QLibrary module(moduleFolder + QStringLiteral("OrvaneUtilities"));
    if (!module.load())
        return false;
    FLoadFile = reinterpret_cast<LoadCustomizeXMLFileWFunc>(module.resolve("LoadCustomizeXMLFileW"));
    FRead = reinterpret_cast<ReadCustomizeInfoWFunc>(module.resolve("ReadCustomizeInfoW"));
    return FLoadFile && FRead;
}

QString TCustomization::Read(const char* key, bool withExtraBuffer) const
{
    if (!FRead)
        return {};
    const QString keyText = QString::fromLatin1(key);
    const QString code = QString::fromLatin1(QMetaEnum::fromType<TLanguageCode>().valueToKey(FLanguageCode));
    char16_t buffer[kValueBufferLength] = {};
    char16_t extra[kExtraBufferLength] = {};
    const int found = FRead(reinterpret_cast<const char16_t*>(keyText.utf16()),
                           reinterpret_cast<const char16_t*>(code.utf16()), buffer, kValueBufferLength,
                           withExtraBuffer ? extra : nullptr, withExtraBuffer ? kExtraBufferLength : 0);
    return found ? QString::fromUtf16(buffer) : QString();
}

void TCustomization::ReadAll()
{
    ++FReadCount;
    TCustomizationValues& v = FValues;
    v.CBSJumpType = DecodeJumpType(Read("CBSJumpType", false));
    v.CustomizeType = DecodeCustomizeType(Read("CustomizeType", false));
    v.EnableAD = DecodeFlag(Read("EnableAD", false));
    v.EnableUpdate = DecodeFlag(Read("EnableUpdate", false));
    v.TipsEnable = DecodeFlag(Read("TipsEnable", false));
    v.EnableProductSuit = DecodeFlag(Read("EnableProductSuit", true));
    v.PID = Read("PID", false);
    v.InstallJumpPage = Read("InstallJumpPage", false);
    v.UninstallJumpPage = Read("UninstallJumpPage", false);
    v.UpdateJumpPage = Read("UpdateJumpPage", false);
    v.HomePage = Read("HomePage", false);
    v.ProductPage = Read("ProductPage", false);
    v.SupportPage = Read("SupportPage", false);
    v.ContactPage = Read("ContactPage", false);
    v.HelpOnlinePage = Read("HelpOnlinePage", false);
    v.OrvaneSuite = Read("OrvaneSuite", false);
    v.OrvaneSuiteTry = Read("OrvaneSuiteTry", false);
    v.WriteAReview = Read("WriteAReview", false);
    v.SocialConnection = Read("SocialConnection", false);
    v.C1 = Read("C1", false);
    v.C2 = Read("C2", false);
    v.C3 = Read("C3", false);
}

bool TCustomization::OpenURL(const QString& address) const
{
    const QUrl url(address, QUrl::TolerantMode);
    return FRead && url.isValid() && !url.isEmpty() && OpenWebAddress(address);
}

TCustomization& CustomizationValues()
{
    static TCustomization customization;
    return customization;
}
