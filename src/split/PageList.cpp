#include "split/PageList.h"

#include "model/PDFProj.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <unordered_set>

namespace {

const TProjClassRegistration<TPageInfo, TConvPageInfo, TPageList> registration;

QString FilePart(const QString& path)
{
    return QFileInfo(path).fileName();
}

QByteArray DumpLine(const TConvPageInfo& entry)
{
    const TPageInfo& in = *entry.InPage();
    const TPageInfo& out = *entry.OutPage();
    const QString line = QString::asprintf(
        "    [In:File%-3d  Page%-3d]    [Out:File%-3d  Page%-3d]     [InFile:  %s       OutFile:  %s]      ",
        in.FileIndex(), in.PageValue(), out.FileIndex(), out.PageValue(),
        qUtf8Printable(FilePart(in.FileName())), qUtf8Printable(FilePart(out.FileName())));
    return line.toLocal8Bit() + "\r\n";
}

} // namespace

QString FileNameKey(const QString& fileName)
{
    QString key = fileName;
    for (QChar& c : key) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return key;
}

ComPtr<IDocObject> TPageInfo::DocObject() const
{
    return FDocSlot ? *FDocSlot : ComPtr<IDocObject>();
}

void TPageInfo::SetDocObject(ComPtr<IDocObject> value)
{
    if (!FDocSlot)
        FDocSlot = std::make_shared<ComPtr<IDocObject>>();
    *FDocSlot = std::move(value);
}

// ---------------------------------------------------------------------------------------------

void TPageList::Changed()
{
    FIndexed = false;
    TProjObjList::Changed();
}

void TPageList::Reindex() const
{
    const int count = Count();
    FFlags.assign(static_cast<size_t>(count), 0);

    const auto indexSide = [&](TPageInfo* (TConvPageInfo::*side)() const, std::uint8_t firstFlag,
                               std::uint8_t lastFlag) {
        struct TGroup
        {
            TPageInfo::TDocSlot slot;
            int last;
        };
        QHash<QString, TGroup> groups;
        groups.reserve(count);
        std::vector<int> lastOf;
        for (int i = 0; i < count; ++i) {
            TPageInfo* page = (Items(i)->*side)();
            if (page->FileName().isEmpty()) {
                // A placeholder is a file of its own.
                FFlags[i] |= firstFlag | lastFlag;
                continue;
            }
            auto found = groups.find(FileNameKey(page->FileName()));
            if (found == groups.end()) {
                FFlags[i] |= firstFlag;
                if (!page->FDocSlot)
                    page->FDocSlot = std::make_shared<ComPtr<IDocObject>>();
                groups.insert(FileNameKey(page->FileName()), TGroup{page->FDocSlot, i});
            } else {
                page->FDocSlot = found->slot;
                found->last = i;
            }
        }
        for (const TGroup& group : std::as_const(groups))
            FFlags[group.last] |= lastFlag;
    };
    indexSide(&TConvPageInfo::InPage, efFirstOfInput, efLastOfInput);
    indexSide(&TConvPageInfo::OutPage, efFirstOfOutput, efLastOfOutput);
    FIndexed = true;
}

bool TPageList::CurrentHas(TEntryFlag flag) const
{
    if (!FIndexed)
        Reindex();
    if (FCurrentIndex < 0 || FCurrentIndex >= Count())
        throw EListError(QStringLiteral("page map index %1 out of range").arg(FCurrentIndex));
    return (FFlags[static_cast<size_t>(FCurrentIndex)] & flag) != 0;
}

bool TPageList::IsFirstOfInput() const
{
    return CurrentHas(efFirstOfInput);
}

bool TPageList::IsLastOfInput() const
{
    const TFileInfo* document = Current()->FileInfo();
    if (document != nullptr && document->FileStatus() == fsSkip)
        return true;
    return CurrentHas(efLastOfInput);
}

bool TPageList::IsFirstOfOutput() const
{
    return CurrentHas(efFirstOfOutput);
}

bool TPageList::IsLastOfOutput() const
{
    return CurrentHas(efLastOfOutput);
}

bool TPageList::CloseCurrent(TPageInfo* side)
{
    if (!FIndexed)
        Reindex();
    ComPtr<IDocObject> document = side->DocObject();
    if (!document)
        return true;
    side->SetDocObject(nullptr);
    return document->Close() == S_OK;
}

void TPageList::CloseCurrentInput()
{
    CloseCurrent(Current()->InPage());
}

bool TPageList::CloseCurrentOutput()
{
    return CloseCurrent(Current()->OutPage());
}

std::vector<TPageList::TOutputPages> TPageList::OutputsOf(const QString& inputFile) const
{
    std::vector<TOutputPages> outputs;
    QHash<QString, std::size_t> indexOfOutput;
    QSet<QString> outputsOfOthers;
    const QString inputKey = FileNameKey(inputFile);
    for (int i = 0; i < Count(); ++i) {
        const TConvPageInfo& entry = *Items(i);
        if (entry.IsPlaceholder())
            continue;
        const QString outputKey = FileNameKey(entry.OutPage()->FileName());
        if (FileNameKey(entry.InPage()->FileName()) != inputKey) {
            outputsOfOthers.insert(outputKey);
            continue;
        }
        auto slot = indexOfOutput.find(outputKey);
        if (slot == indexOfOutput.end()) {
            slot = indexOfOutput.insert(outputKey, outputs.size());
            outputs.push_back({entry.OutPage()->FileName(), {}, false});
        }
        outputs[*slot].Pages.push_back(entry.InPage()->PageValue());
    }
    for (auto slot = indexOfOutput.cbegin(); slot != indexOfOutput.cend(); ++slot)
        outputs[*slot].Shared = outputsOfOthers.contains(slot.key());
    return outputs;
}

int TPageList::OutputFileCount() const
{
    std::unordered_set<int> indexes;
    for (int i = 0; i < Count(); ++i)
        indexes.insert(Items(i)->OutPage()->FileIndex());
    return static_cast<int>(indexes.size());
}

QByteArray TPageList::DumpText() const
{
    QByteArray text;
    for (int i = 0; i < Count(); ++i)
        text += DumpLine(*Items(i));
    return text;
}

void TPageList::WriteDump(const QString& folder) const
{
    if (!QFile::exists(folder + QStringLiteral("Debug.txt")))
        return;
    QSaveFile file(folder + QStringLiteral("Pagelist.txt"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(DumpText());
    file.commit();
}
