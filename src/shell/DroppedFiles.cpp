#include "shell/DroppedFiles.h"

#include "shell/SameText.h"

#include <QFileInfo>

namespace {

bool HasPdfExtension(const QString& path)
{
    return SameText(QFileInfo(path).suffix(), u"pdf");
}

} // namespace

void CollectDroppedPdfFiles(const QStringList& droppedPaths, QStringList& files)
{
    files.clear();
    for (const QString& path : droppedPaths) {
        if (path.size() <= kMaxDroppedPathLength && HasPdfExtension(path))
            files.append(path);
    }
}

void CollectDroppedPdfFiles(const QList<QUrl>& droppedUrls, QStringList& files)
{
    QStringList paths;
    for (const QUrl& url : droppedUrls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    CollectDroppedPdfFiles(paths, files);
}
