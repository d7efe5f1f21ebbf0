#pragma once

#include <QString>

#include <functional>

// Opens a web address of the customization file (help page, "more" links) through the
// desktop's service. Tests install a recorder.
using CustomizationLinkOpener = std::function<bool(const QString& address)>;
void SetCustomizationLinkOpener(CustomizationLinkOpener opener);
bool OpenCustomizationLink(const QString& address);

// The customization file's address when it gives one, else the given section of the
// program's help page; empty when neither exists, and then the link that would open it is
// hidden.
QString CustomizationLinkOrHelp(const QString& address, const QString& helpSection);
