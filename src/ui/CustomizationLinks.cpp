#include "ui/CustomizationLinks.h"

#include "shell/CustomizationValues.h"
#include "shell/HelpPage.h"
#include "shell/ShellOpen.h"

namespace {

CustomizationLinkOpener& InstalledOpener()
{
    static CustomizationLinkOpener opener;
    return opener;
}

bool OpenThroughModuleOrDesktop(const QString& address)
{
    if (CustomizationValues().OpenURL(address))
        return true;
    return !address.isEmpty() && OpenWebAddress(address);
}

} // namespace

void SetCustomizationLinkOpener(CustomizationLinkOpener opener)
{
    InstalledOpener() = std::move(opener);
}

bool OpenCustomizationLink(const QString& address)
{
    if (const CustomizationLinkOpener& opener = InstalledOpener())
        return opener(address);
    return OpenThroughModuleOrDesktop(address);
}

QString CustomizationLinkOrHelp(const QString& address, const QString& helpSection)
{
    if (!address.trimmed().isEmpty())
        return address;
    return HelpPageAddress(helpSection).toString(QUrl::FullyEncoded);
}
