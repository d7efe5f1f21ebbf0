#pragma once

#include <QString>
#include <QUrl>

// The program's help: the address configured as HelpPage when there is one, else the page
// that ships beside the current language file. `section` names an anchor of that page
// ("password", "cli", ...). An empty address means the program has no help to show.
QUrl HelpPageAddress(const QString& section = {});

// Opens the help in the browser; false when there is none or it cannot be opened.
bool OpenHelpPage(const QString& section = {});
