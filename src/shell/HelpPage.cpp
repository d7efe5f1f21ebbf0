#include "shell/HelpPage.h"

#include "shell/LanguageItem.h"
#include "shell/LanguageMgr.h"
#include "shell/ProductConfig.h"
#include "shell/ShellOpen.h"

#include <QFileInfo>

namespace {

QUrl ShippedHelpPage()
{
    const TLanguageItem* language = LanguageMgr().Current();
    if (!language || !QFileInfo(language->HelpFile()).isFile())
        return {};
    return QUrl::fromLocalFile(language->HelpFile());
}

} // namespace

QUrl HelpPageAddress(const QString& section)
{
    const QString configured = ProductConfig().HelpPage.trimmed();
    if (!configured.isEmpty())
        return QUrl(configured, QUrl::TolerantMode);
    QUrl page = ShippedHelpPage();
    if (!page.isEmpty() && !section.isEmpty())
        page.setFragment(section);
    return page;
}

bool OpenHelpPage(const QString& section)
{
    const QUrl address = HelpPageAddress(section);
    return !address.isEmpty() && OpenWebAddress(address.toString(QUrl::FullyEncoded));
}
