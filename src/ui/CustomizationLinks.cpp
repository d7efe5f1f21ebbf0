#include "ui/CustomizationLinks.h"

#include "shell/HelpPage.h"
#include "shell/ShellOpen.h"

namespace {

CustomizationLinkOpener& InstalledOpener()
{
    static CustomizationLinkOpener opener;
    return opener;
}

// The customization module hands addresses to the desktop's service as well, so the links
// go there directly; an empty address opens nothing.
bool OpenThroughDesktop(const QString& address)
{
    return !address.trimmed().isEmpty() && OpenWebAddress(address);
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
    return OpenThroughDesktop(address);
}

QString CustomizationLinkOrHelp(const QString& address, const QString& helpSection)
{
    if (!address.trimmed().isEmpty())
        return address;
    return HelpPageAddress(helpSection).toString(QUrl::FullyEncoded);
}
