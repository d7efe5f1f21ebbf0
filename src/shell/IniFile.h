#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

class TIniDocument;

class IniFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Section/key/value access to one initialisation file ("[Section]" lines followed by
// "Key=Value" lines). Section and key names match without regard to case. The file is read
// once, at the first access and again at each Reload, and never created by reading; only a
// regular file is read, as anything else (a pipe, a device) could block for good. Every write
// updates the file at once, unless it is part of an Update, which saves once at its end. The
// file is replaced only once the new text is complete, and lines that the program did not
// change keep their bytes. A write that cannot be saved throws IniFileError.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);
    virtual ~TIniFile();

    const QString& FileName() const { return FFileName; }

    // Reads the file again; changes that were not saved are forgotten.
    void Reload();

    // Runs the writes and saves the file once, when they changed anything. When one of them
    // throws, none of them takes effect: the file is read again and the error passed on.
    void Update(const std::function<void()>& writes);

    // Whether the file can hold the value: a value is one line, and a line break in it would
    // end the line and start another key or section.
    static bool FitsOnOneLine(const QString& value);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Blanks and double quotes around a value are kept by quoting it, so that it reads back
    // as written. A value that does not fit on one line throws IniFileError, changing nothing.
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
    TIniDocument& Document() const;
    void SaveIfChanged();

    QString FFileName;
    mutable std::unique_ptr<TIniDocument> FDocument;
    int FUpdateDepth = 0;
    bool FChanged = false;
};
