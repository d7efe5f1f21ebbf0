#pragma once

#include "shell/FormsLanguageFile.h"
#include "shell/LanguageHooks.h"

#include <QString>
#include <QStringList>

class QObject;

// The form-language applier of the main window and its dialogs: made for one call, it reads
// the "Strings" and "Forms" of the forms language file (English.dat, whatever language is
// selected).
class TMutlLanguage
{
public:
    explicit TMutlLanguage(QObject* window = nullptr,
                           const TFormsLanguageFile& file = TFormsLanguageFile::Shared());
    virtual ~TMutlLanguage() = default;
    TMutlLanguage(const TMutlLanguage&) = delete;
    TMutlLanguage& operator=(const TMutlLanguage&) = delete;

    // The text of the element `name` under "Strings" into value; value stays as it was, and
    // the result is false, when there is none.
    bool GetFormsLangString(const QString& name, QString& value) const;

    // Applies the window's element under "Forms", found by the window's class name, to the
    // window's components: their properties by name and their "Items" and "Columns". The
    // attributes of the window element itself are not applied.
    void ApplyFormsLanguage();

protected:
    // Gives a component the list content of its element; the front end's handler does it.
    virtual bool ApplyListContent(QObject* component, TListContentKind kind,
                                  const QStringList& lines);

private:
    void ApplyComponent(QObject* component, const pugi::xml_node& element);

    QObject* FWindow;
    const TFormsLanguageFile& FFile;
};

// Lookups through a TMutlLanguage over the shared forms language file. A string the file
// does not give is `def`, or when that is empty the built-in English string.
QString GetFormsLangString(const QString& name, const QString& def = {});
void ApplyFormsLanguage(QObject* window);
