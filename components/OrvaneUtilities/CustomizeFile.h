#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The values of a customization file. The file names a value per key, either for every
// language or for one language code:
//
//   <Customization>
//     <Value key="HomePage">https://example.org/</Value>
//     <Value key="HomePage" lang="DEU">https://example.org/de/</Value>
//   </Customization>
//
// A value for the asked language wins over the value for every language.
class CustomizeFile
{
public:
    bool Load(const QString& path);
    std::optional<QString> Value(const QString& key, const QString& languageCode) const;

private:
    static QString Slot(const QString& key, const QString& languageCode);
    QHash<QString, QString> FValues;
};
