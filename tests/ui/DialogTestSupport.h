#pragma once

#include "model/TavloProj.h"
#include "split/TavloConvert.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

class QTreeWidget;
class QTreeWidgetItem;

// A split job and its planner as the main window holds them, with documents made in a folder
// of their own.
class TDialogJob
{
public:
    TDialogJob();
    ~TDialogJob();

    TTavloProj& Project() { return *FProject; }
    TTavloConvert& Planner() { return *FPlanner; }
    QString Folder() const { return FFolder.path() + QStringLiteral("/"); }

    // Loads the file as the job's document and asks the engine about it, as the main window does.
    TFileInfo& Load(const QString& path);
    // A document of that many pages in the job's folder, loaded.
    TFileInfo& LoadNew(const QString& name, int pages);
    // A copy of a document that opens only with the password, loaded without the password.
    TFileInfo& LoadLocked(const QString& name, int pages);

private:
    QTemporaryDir FFolder;
    std::unique_ptr<TTavloProj> FProject;
    std::unique_ptr<TTavloConvert> FPlanner;
};

// A document of that many pages that opens only with the password "open".
void WriteLockedTestPdf(const QString& path, int pages);

// Records the message boxes shown while it lives, each answered with OK.
class TMessageBoxRecorder
{
public:
    TMessageBoxRecorder();
    ~TMessageBoxRecorder();
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    QStringList Texts;
};

// The texts of a tree's items in column 0, depth first, each indented by two blanks per level;
// collapsed items are marked with "+".
QStringList TreeOutline(const QTreeWidget& tree);

// Acts on the dialog of that class as soon as it is shown modally; the action must close it.
template <typename TDialog>
void WhenModalShows(std::function<void(TDialog&)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start(10);
}

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
