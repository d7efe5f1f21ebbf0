#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

class IniFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Section/key/value access to one initialisation file ("[Section]" lines followed by
// "Key=Value" lines). Section and key names match without regard to case. Every read looks at
// the file as it is now and never creates it; every write updates the file at once, keeping
// the other lines, comments included, and replacing the file only once the new text is
// complete. A write that cannot be saved throws IniFileError.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);
    virtual ~TIniFile() = default;

    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Decimal, or hexadecimal with a leading "0x"; anything else gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);

    // Read as an integer (non-zero is true), written as "1" or "0".
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSection(const QString& section) const;

private:
    QStringList ReadLines() const;
    void SaveLines(const QStringList& lines) const;

    QString FFileName;
};
