#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens a local file, folder or web address with whatever the desktop associates with it.
// The window installs the desktop's service (the core cannot reach it); tests install a
// recorder. Without an opener nothing is opened and every call answers false: the command
// line opens nothing.
using UrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);

// Opens a folder in the file browser; a folder that does not exist opens the documents
// folder instead.
bool OpenFolder(const QString& folder);

// Opens a document with its associated program; ".html" pages open in the web browser.
bool OpenDocument(const QString& filePath);

// Opens a web address in the browser.
bool OpenWebAddress(const QString& address);
