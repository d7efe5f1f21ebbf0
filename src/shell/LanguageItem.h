#pragma once

#include "shell/LanguageFont.h"

#include <QString>

#include <pugixml.hpp>

#include <memory>

class TLanguageList;

// One language resource file. Its parsed document is held only while the language is
// current; the fields read from the file stay.
class TLanguageItem
{
public:
    TLanguageItem(TLanguageList* owner, const QString& fileName, const QString& fullPath);
    ~TLanguageItem();
    TLanguageItem(const TLanguageItem&) = delete;
    TLanguageItem& operator=(const TLanguageItem&) = delete;

    // Parses the file unless its document is held, checks the root element and reads the
    // language's fields. False, and no document kept, when the file is missing, is not XML
    // or its root is not "LanguageResource" (any letter case).
    bool Load();
    void ReleaseDocument();
    bool HasDocument() const { return FDocument != nullptr; }

    TLanguageList* Owner() const { return FOwner; }
    const QString& Id() const { return FId; }
    const QString& Name() const { return FName; }
    const QString& FileName() const { return FFileName; }
    const QString& FullPath() const { return FFullPath; }
    int LangID() const { return FLangID; }
    int CodePage() const { return FCodePage; }
    const TLanguageFont& Font() const { return FFont; }
    const QString& LocaleName() const { return FLocaleName; }
    const QString& HelpFile() const { return FHelpFile; }
    const QString& Folder() const { return FFolder; }

    // Set once a window element was found by class name; from then on component elements of
    // this language are identified by their "name" attribute.
    bool UsesNameAttribute() const { return FUsesNameAttribute; }
    void SetUsesNameAttribute() { FUsesNameAttribute = true; }

    // The root element and its "Strings" element; null nodes without a document.
    pugi::xml_node Root() const;
    pugi::xml_node Strings() const;

    // The first node an XPath selects; null when none, when the path is not valid or without a
    // document. The last path and its node are kept: the same path twice in a row is
    // evaluated once.
    pugi::xml_node SelectNode(const QString& path);

    // Re-entry counters of the language manager: a change broadcast and an ownership query
    // in progress for this language.
    int& BroadcastDepth() { return FBroadcastDepth; }
    int& QueryDepth() { return FQueryDepth; }

private:
    void ReadFields(const pugi::xml_node& root);
    void ReadDefaults(const pugi::xml_node& root);
    void ClearCache();

    TLanguageList* FOwner;
    std::unique_ptr<pugi::xml_document> FDocument;
    QString FId;
    QString FName;
    QString FFileName;
    QString FFullPath;
    QString FCachedPath;
    pugi::xml_node FCachedNode;
    int FLangID = 0;
    int FCodePage = 0;
    TLanguageFont FFont;
    int FBroadcastDepth = 0;
    int FQueryDepth = 0;
    QString FLocaleName;
    QString FHelpFile;
    QString FFolder;
    bool FUsesNameAttribute = false;
};
