#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The text of an initialisation file, parsed once into sections of lines. Every line keeps the
// bytes it was read with, line break included, so that a line the program does not change is
// written back exactly as it was, whatever its encoding; a value is decoded only when it is
// read. Section and key names match without regard to case; the first section and the first
// key of a name count, as later ones are never read.
class TIniDocument
{
public:
    explicit TIniDocument(const QByteArray& data = {});

    QByteArray Text() const;

    std::optional<QString> Value(const QString& section, const QString& key) const;

    // Stores the value, keeping the key's line (and its spelling of the key) where there is
    // one, else adding the key at the end of its section, or the section at the end of the
    // text. False when the value read back would already be the same: the text is unchanged.
    // The value must not hold a line break.
    bool SetValue(const QString& section, const QString& key, const QString& value);

    bool HasSection(const QString& section) const;
    QStringList Keys(const QString& section) const;

private:
    struct TLine
    {
        QByteArray text;
        QByteArray lineBreak;
    };
    struct TSection
    {
        // The header line first, except in the lines before the first header.
        std::vector<TLine> lines;
        QHash<QString, size_t> keys;
    };

    void AddLine(TLine line);
    void AddSection(const QString& name);
    const TSection* FindSection(const QString& section) const;
    void InsertKeyLine(TSection& section, const QString& key, QByteArray text);

    QByteArray FByteOrderMark;
    QByteArray FLineBreak;
    std::vector<TSection> FSections;
    QHash<QString, size_t> FSectionIndex;
};
