#include "shell/ShellOpen.h"

#include "shell/PathUtils.h"

#include <QFileInfo>

namespace {

UrlOpener& InstalledOpener()
{
    static UrlOpener opener;
    return opener;
}

bool Open(const QUrl& url)
{
    const UrlOpener& opener = InstalledOpener();
    return opener && opener(url);
}

} // namespace

void SetUrlOpener(UrlOpener opener)
{
    InstalledOpener() = std::move(opener);
}

bool OpenFolder(const QString& folder)
{
    const QString target = QFileInfo(folder).isDir() ? folder : MyDocumentsFolder();
    return Open(QUrl::fromLocalFile(target));
}

bool OpenDocument(const QString& filePath)
{
    return Open(QUrl::fromLocalFile(filePath));
}

bool OpenWebAddress(const QString& address)
{
    return Open(QUrl(address, QUrl::TolerantMode));
}
