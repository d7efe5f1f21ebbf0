#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

// Longest dropped path taken; a longer one cannot name a file on the platforms we serve and is
// passed over rather than cut (a cut path would name another file).
constexpr qsizetype kMaxDroppedPathLength = 4096;

// Fills `files` with the dropped paths whose extension is ".pdf" (any letter case), in the
// order given, duplicates kept. Other extensions are passed over, files and folders alike.
void CollectDroppedPdfFiles(const QStringList& droppedPaths, QStringList& files);

// The same for a drop of URLs; only local files count.
void CollectDroppedPdfFiles(const QList<QUrl>& droppedUrls, QStringList& files);
