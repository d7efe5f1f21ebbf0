#include "ui/ApplicationLanguage.h"

#include "shell/LanguageMgr.h"
#include "shell/LocaleDisplayName.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& QtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void InstallQtTranslation(const QLocale& locale)
{
    std::unique_ptr<QTranslator>& translator = QtTranslator();
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
    if (locale == QLocale::c() || locale.language() == QLocale::English)
        return;
    auto loaded = std::make_unique<QTranslator>();
    if (loaded->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(loaded.get()))
        translator = std::move(loaded);
}

} // namespace

void ApplyLanguageToApplication()
{
    const TLanguageItem* language = LanguageMgr().Current();
    const QLocale locale = LocaleOfLangId(language ? language->LangID() : 0);
    QApplication::setLayoutDirection(locale.textDirection());
    InstallQtTranslation(locale);
}
