#pragma once

// What one run made on disk, and only that: its output folder, the parent folders made for
// it, and the output files written into it. The folder is made exclusively, so no other run
// (in this process or another) can share it. A stop or a failure removes exactly these;
// whatever else is found there, or was there before, is never touched.

#include <QSet>
#include <QString>
#include <QStringList>

class TRunOutputs
{
public:
    // The first of base, base(1), base(2), ... that names nothing on disk (a dangling link is a
    // taken name); the folder is not made. Ends with a separator.
    static QString FreeFolderName(const QString& base);

    // Makes the first of base, base(1), base(2), ... that can be made anew, with its missing
    // parent folders, and answers it with a trailing separator. Throws EPlanError naming the
    // folder and the reason when it cannot be made.
    QString CreateFolder(const QString& base);

    // An output file the run wrote.
    void AddFile(const QString& path);

    // The folder made by CreateFolder, with a trailing separator; empty before.
    const QString& Folder() const { return FFolder; }

    // Removes the run's files, then its folders where they are empty.
    void Remove();
    // With useTrash, moves the folder to the user's trash when it holds nothing but the run's
    // files and the trash can take it; otherwise, and without useTrash, Remove.
    void Discard(bool useTrash);

    // Forgets everything (a new run, or a finished one that keeps its outputs).
    void Clear();

private:
    bool FolderHoldsOnlyOurFiles() const;
    void RemoveFolders();

    QString FFolder;
    QStringList FFolders; // made by this run, parents first
    QSet<QString> FFiles;
};
