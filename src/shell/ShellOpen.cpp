#include "shell/ShellOpen.h"

#include "shell/PathUtils.h"

#include <QFileInfo>
#include <QProcess>

namespace {

UrlOpener& InstalledOpener()
{
    static UrlOpener opener;
    return opener;
}

bool StartPlatformOpener(const QUrl& url)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

bool Open(const QUrl& url)
{
    if (const UrlOpener& opener = InstalledOpener())
        return opener(url);
    return StartPlatformOpener(url);
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
