#include "shell/LocaleDisplayName.h"

#include <QLocale>

namespace {

struct LangIdLocale
{
    int langId;
    QLocale::Language language;
    QLocale::Territory territory;
};

constexpr LangIdLocale kLocales[] = {
    {0x0409, QLocale::English, QLocale::UnitedStates},
    {0x0809, QLocale::English, QLocale::UnitedKingdom},
    {0x0804, QLocale::Chinese, QLocale::China},
    {0x0404, QLocale::Chinese, QLocale::Taiwan},
    {0x0C04, QLocale::Chinese, QLocale::HongKong},
    {0x040C, QLocale::French, QLocale::France},
    {0x0C0A, QLocale::Spanish, QLocale::Spain},
    {0x080A, QLocale::Spanish, QLocale::Mexico},
    {0x0407, QLocale::German, QLocale::Germany},
    {0x0411, QLocale::Japanese, QLocale::Japan},
    {0x0416, QLocale::Portuguese, QLocale::Brazil},
    {0x0816, QLocale::Portuguese, QLocale::Portugal},
    {0x0419, QLocale::Russian, QLocale::Russia},
    {0x0410, QLocale::Italian, QLocale::Italy},
    {0x0415, QLocale::Polish, QLocale::Poland},
    {0x0401, QLocale::Arabic, QLocale::SaudiArabia},
    {0x040D, QLocale::Hebrew, QLocale::Israel},
    {0x0412, QLocale::Korean, QLocale::SouthKorea},
    {0x0413, QLocale::Dutch, QLocale::Netherlands},
};

} // namespace

QString LocaleDisplayName(int langId)
{
    for (const LangIdLocale& entry : kLocales) {
        if (entry.langId == langId) {
            return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(entry.language),
                                                 QLocale::territoryToString(entry.territory));
        }
    }
    return {};
}

QLocale LocaleOfLangId(int langId)
{
    for (const LangIdLocale& entry : kLocales) {
        if (entry.langId == langId)
            return QLocale(entry.language, entry.territory);
    }
    return QLocale::c();
}
