#pragma once

#include <QString>

#include <pugixml.hpp>

#include <memory>

// The parsed language file of the main window and its dialogs, with its root, "Strings" and
// "Forms" elements: the file of the selected language, else English.dat. Each file is parsed
// on first use and kept for the rest of the process; after that it is only read, from any
// thread.
class TFormsLanguageFile
{
public:
    // Parses the file; a missing file or one that is not XML gives empty elements.
    explicit TFormsLanguageFile(const QString& path);
    ~TFormsLanguageFile();
    TFormsLanguageFile(const TFormsLanguageFile&) = delete;
    TFormsLanguageFile& operator=(const TFormsLanguageFile&) = delete;

    // The file of the selected language (see FollowLanguage), else ApplicationFolder() +
    // "Languages/English.dat".
    static QString FormsLanguageFile();
    static const TFormsLanguageFile& Shared();
    // Makes path the file of the windows from now on; empty: English.dat. The language
    // manager calls it whenever the selection changes.
    static void FollowLanguage(const QString& path);

    pugi::xml_node Root() const { return FRoot; }
    pugi::xml_node Strings() const { return FStrings; }
    pugi::xml_node Forms() const { return FForms; }

private:
    std::unique_ptr<pugi::xml_document> FDocument;
    pugi::xml_node FRoot;
    pugi::xml_node FStrings;
    pugi::xml_node FForms;
};
