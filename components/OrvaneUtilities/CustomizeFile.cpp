#include "CustomizeFile.h"

#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

bool CustomizeFile::Load(const QString& path)
{
    FValues.clear();
    // A pipe or device in the file's place would block the start of the program for good.
    if (!QFileInfo(path).isFile())
        return false;
    pugi::xml_document document;
    if (!document.load_file(QFile::encodeName(path).constData()))
        return false;
    const pugi::xml_node root = document.child("Customization");
    if (!root)
        return false;
    for (const pugi::xml_node value : root.children("Value")) {
        const QString key = QString::fromUtf8(value.attribute("key").value());
        if (key.isEmpty())
            continue;
        const QString language = QString::fromUtf8(value.attribute("lang").value());
        FValues.insert(Slot(key, language), QString::fromUtf8(value.child_value()));
    }
    return true;
}

std::optional<QString> CustomizeFile::Value(const QString& key, const QString& languageCode) const
{
    for (const QString& slot : {Slot(key, languageCode), Slot(key, QString())}) {
        const auto found = FValues.constFind(slot);
        if (found != FValues.cend())
            return *found;
    }
    return std::nullopt;
}

QString CustomizeFile::Slot(const QString& key, const QString& languageCode)
{
    return key.toLower() + u'\n' + languageCode.toUpper();
}
