#pragma once

#include <QString>

#include <pugixml.hpp>

#include <memory>

// The parsed language file of the main window and its dialogs, with its root, "Strings" and
// "Forms" elements. The program reads one such file, English.dat, parsed on first use and
// kept for the rest of the process; after that it is only read, from any thread.
class TFormsLanguageFile
{
public:
    // Parses the file; a missing file or one that is not XML gives empty elements.
    explicit TFormsLanguageFile(const QString& path);
    ~TFormsLanguageFile();
    TFormsLanguageFile(const TFormsLanguageFile&) = delete;
    TFormsLanguageFile& operator=(const TFormsLanguageFile&) = delete;

    // ApplicationFolder() + "Languages/English.dat".
    static QString FormsLanguageFile();
    static const TFormsLanguageFile& Shared();

    pugi::xml_node Root() const { return FRoot; }
    pugi::xml_node Strings() const { return FStrings; }
    pugi::xml_node Forms() const { return FForms; }

private:
    std::unique_ptr<pugi::xml_document> FDocument;
    pugi::xml_node FRoot;
    pugi::xml_node FStrings;
    pugi::xml_node FForms;
};
