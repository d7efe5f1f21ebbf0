#include "ui/DialogTestSupport.h"

#include "../engine/EngineTestSupport.h"

#include "shell/MessageBox.h"

#include <QFile>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

void WriteLocked(const QString& source, const QString& target)
{
    const std::string sourceName = source.toStdString();
    const std::string targetName = target.toStdString();
    QPDF pdf;
    pdf.processFile(sourceName.c_str());
    QPDFWriter writer(pdf, targetName.c_str());
    writer.setR6EncryptionParameters("open", "owner", true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
}

void AddOutline(const QTreeWidgetItem& item, int depth, QStringList& lines)
{
    const QString mark = item.childCount() > 0 && !item.isExpanded() ? QStringLiteral("+") : QString();
    lines.append(QString(depth * 2, u' ') + mark + item.text(0));
    for (int i = 0; i < item.childCount(); ++i)
        AddOutline(*item.child(i), depth + 1, lines);
}

} // namespace

TDialogJob::TDialogJob()
    : FProject(std::make_unique<TTavloProj>()), FPlanner(std::make_unique<TTavloConvert>(*FProject))
{
}

TDialogJob::~TDialogJob()
{
    FPlanner.reset();
    FProject.reset();
}

TFileInfo& TDialogJob::Load(const QString& path)
{
    FProject->Files()->Clear();
    TFileInfo& document = *FProject->Files()->NewItem();
    document.SetSource(path);
    EXPECT_TRUE(FPlanner->CheckDocument(document)) << path.toStdString();
    return document;
}

TFileInfo& TDialogJob::LoadNew(const QString& name, int pages)
{
    WriteTestPdf(Folder() + name, pages);
    return Load(Folder() + name);
}

void WriteLockedTestPdf(const QString& path, int pages)
{
    const QString plain = path + QStringLiteral(".plain");
    WriteTestPdf(plain, pages);
    WriteLocked(plain, path);
    QFile::remove(plain);
}

TFileInfo& TDialogJob::LoadLocked(const QString& name, int pages)
{
    WriteLockedTestPdf(Folder() + name, pages);
    return Load(Folder() + name);
}

TMessageBoxRecorder::TMessageBoxRecorder()
{
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
        Texts.append(request.text);
        return MessageBoxButton::Ok;
    });
}

TMessageBoxRecorder::~TMessageBoxRecorder()
{
    SetMessageBoxHandler({});
}

QStringList TreeOutline(const QTreeWidget& tree)
{
    QStringList lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        AddOutline(*tree.topLevelItem(i), 0, lines);
    return lines;
}
