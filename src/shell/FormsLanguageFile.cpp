#include "shell/FormsLanguageFile.h"

#include "shell/LanguageXml.h"
#include "shell/PathUtils.h"
#include "shell/SameText.h"

#include <map>
#include <mutex>

namespace {

// Windows are made on the main thread and the run's messages are looked up on its own, so
// the selection and the parsed files are kept under one lock.
struct TFormsLanguageFiles
{
    std::mutex Lock;
    QString Selected;
    // Never emptied: callers hold references to the files.
    std::map<QString, std::unique_ptr<TFormsLanguageFile>> Parsed;
};

TFormsLanguageFiles& Files()
{
    static TFormsLanguageFiles files;
    return files;
}

QString EnglishFile()
{
    return ApplicationFolder() + QStringLiteral("Languages/English.dat");
}

// Under the lock.
QString SelectedFile(const TFormsLanguageFiles& files)
{
    return files.Selected.isEmpty() ? EnglishFile() : files.Selected;
}

} // namespace

TFormsLanguageFile::TFormsLanguageFile(const QString& path) : FDocument(ParseXmlFile(path))
{
    if (!FDocument)
        return;
    for (const pugi::xml_node& node : FDocument->children()) {
        if (node.type() == pugi::node_element &&
            SameText(XmlText(node.name()), QString::fromLatin1(kLanguageResourceRoot))) {
            FRoot = node;
            break;
        }
    }
    FStrings = FRoot.child("Strings");
    FForms = FRoot.child("Forms");
}

TFormsLanguageFile::~TFormsLanguageFile() = default;

QString TFormsLanguageFile::FormsLanguageFile()
{
    TFormsLanguageFiles& files = Files();
    const std::lock_guard lock(files.Lock);
    return SelectedFile(files);
}

const TFormsLanguageFile& TFormsLanguageFile::Shared()
{
    TFormsLanguageFiles& files = Files();
    const std::lock_guard lock(files.Lock);
    const QString path = SelectedFile(files);
    std::unique_ptr<TFormsLanguageFile>& file = files.Parsed[path];
    if (!file)
        file = std::make_unique<TFormsLanguageFile>(path);
    return *file;
}

void TFormsLanguageFile::FollowLanguage(const QString& path)
{
    TFormsLanguageFiles& files = Files();
    const std::lock_guard lock(files.Lock);
    files.Selected = path;
}
