#include "shell/LanguageMgr.h"

#include "shell/BuiltInLanguage.h"
#include "shell/FormsLanguageFile.h"
#include "shell/LanguageApplier.h"
#include "shell/LanguageXml.h"
#include "shell/PathUtils.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <exception>

namespace {

// The pattern as an absolute path with "/" separators; the program writes patterns with the
// separator of its first platform too.
QFileInfo PatternInfo(const QString& pattern)
{
    QString path = pattern;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(path))
        path = ApplicationFolder() + path;
    return QFileInfo(path);
}

std::unique_ptr<TLanguageItem> LoadAcceptedItem(TLanguageList* owner, const QString& path)
{
    auto item = std::make_unique<TLanguageItem>(owner, path, QFileInfo(path).absoluteFilePath());
    if (!item->Load() || item->Name().isEmpty())
        return nullptr;
    // Only the current language keeps its document in memory.
    item->ReleaseDocument();
    return item;
}

} // namespace

TLanguageMgr& TLanguageMgr::Instance()
{
    static TLanguageMgr manager;
    return manager;
}

int TLanguageMgr::LoadLanguages(const QString& pattern)
{
    FCurrentIndex = -1;
    FCurrent = nullptr;
    TFormsLanguageFile::FollowLanguage({});
    FLanguages.Clear();
    const QFileInfo info = PatternInfo(pattern);
    const QDir folder = info.dir();
    const QStringList names =
        folder.entryList({info.fileName()}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString path = WithTrailingBackslash(info.path()) + name;
        try {
            if (auto item = LoadAcceptedItem(&FLanguages, path))
                FLanguages.Append(std::move(item));
        } catch (const std::exception& error) {
            qWarning().noquote() << "Language file" << path << "skipped:" << error.what();
        }
    }
    return FLanguages.Count();
}

bool TLanguageMgr::SelectLanguage(const QString& id)
{
    if (FCurrent)
        FCurrent->ReleaseDocument();
    FCurrentIndex = FLanguages.IndexOfId(id);
    FCurrent = FLanguages.Item(FCurrentIndex);
    const bool loaded = FCurrent && FCurrent->Load();
    // The main window and its dialogs speak the selected language too.
    TFormsLanguageFile::FollowLanguage(loaded ? FCurrent->FullPath() : QString());
    return loaded;
}

QString TLanguageMgr::GetLangString(const QString& name, const QString& def) const
{
    if (name.isEmpty())
        return def;
    if (FCurrent) {
        if (const pugi::xml_node element = FCurrent->Strings().child(name.toUtf8().constData()))
            return XmlText(element.text().get());
    }
    return def.isEmpty() ? BuiltInLangString(name) : def;
}

bool TLanguageMgr::ApplyLanguage(QObject* window)
{
    if (!FCurrent || !window)
        return false;
    TLanguageApplier(*FCurrent, window).Apply();
    return true;
}

QString GetLangString(const QString& name, const QString& def)
{
    return TLanguageMgr::Instance().GetLangString(name, def);
}

bool ApplyLanguage(QObject* window)
{
    return TLanguageMgr::Instance().ApplyLanguage(window);
}
