#pragma once

#include "shell/LanguageList.h"

#include <QString>

class QObject;

// The language manager: lists the language resource files, keeps one of them current and
// serves its strings and its window texts. The program uses the one process-wide instance.
class TLanguageMgr
{
public:
    static TLanguageMgr& Instance();

    // Forgets the current language and lists every file matching the pattern, a folder and
    // a file mask such as ApplicationFolder() + "Languages/*.dat" (a relative pattern is taken
    // from ApplicationFolder()). A file is kept when it loads as a language resource with a
    // non-empty "name". Returns the number of files kept.
    int LoadLanguages(const QString& pattern);

    // Makes the language whose Id equals id (apart from the letter case) current. False when
    // there is none, or its file no longer loads.
    bool SelectLanguage(const QString& id);

    // The text of the element `name` under "Strings" of the current language. When there is
    // no current language, no "Strings" element or no such element: `def`, or when that is
    // empty the built-in English string.
    QString GetLangString(const QString& name, const QString& def = {}) const;

    // Applies the current language to a live window; false when there is none.
    bool ApplyLanguage(QObject* window);

    const TLanguageList& Languages() const { return FLanguages; }
    int CurrentIndex() const { return FCurrentIndex; }
    TLanguageItem* Current() const { return FCurrent; }

private:
    TLanguageList FLanguages;
    int FCurrentIndex = -1;
    TLanguageItem* FCurrent = nullptr;
};

inline TLanguageMgr& LanguageMgr()
{
    return TLanguageMgr::Instance();
}

// Lookups of the process-wide manager.
QString GetLangString(const QString& name, const QString& def = {});
bool ApplyLanguage(QObject* window);
