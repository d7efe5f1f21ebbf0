#pragma once

#include <QString>

#include <functional>

// Opens a web address of the customization file (help page, "more" links) the way the
// program's links do: through the customization module, or through the desktop where the
// module is missing. Tests install a recorder.
using CustomizationLinkOpener = std::function<bool(const QString& address)>;
void SetCustomizationLinkOpener(CustomizationLinkOpener opener);
bool OpenCustomizationLink(const QString& address);
