#pragma once

#include <QMap>
#include <QString>

#include <vector>

// One row of the corpus manifest (manifest.tsv beside the corpus files).
struct CorpusEntry
{
    QString file;
    int pages = 0;        // -1: needs an open password; -2: cannot be opened at all
    int outlineDepth = 0;
    int outlineTopCount = 0;
    QString encryption;   // "none", "owner-only", "user-password"
    QString password;     // the open password of "user-password" rows
    QMap<QString, QString> notes; // the key=value items of the notes column

    int pagesWithPassword() const { return notes.value(QStringLiteral("pages_with_password")).toInt(); }
    QString ownerPassword() const { return notes.value(QStringLiteral("owner_password")); }
};

// The rows of the manifest of tests/data; a manifest that cannot be read fails the test.
std::vector<CorpusEntry> ReadCorpusManifest();
