#include "shell/IniDocument.h"

#include <QStringDecoder>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Files brought over from elsewhere may be in a one-byte code page; Latin-1 reads them
// without losing a character, where UTF-8 would put replacement characters in their place.
QString Decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString Fold(const QString& name)
{
    return name.toCaseFolded();
}

// Lines are told apart by their bytes; only names are decoded, so that a long file is read
// without decoding every value in it.
std::optional<QString> SectionName(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']'))
        return std::nullopt;
    return Decode(trimmed.sliced(1, trimmed.size() - 2)).trimmed();
}

std::optional<QString> KeyName(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.startsWith(';') || trimmed.startsWith('#'))
        return std::nullopt;
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0)
        return std::nullopt;
    return Decode(line.first(equals)).trimmed();
}

// A value as the text after the equals sign reads: blanks around it dropped, and one pair of
// double quotes around it taken away.
QString ReadBack(const QString& stored)
{
    const QString value = stored.trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Quoted exactly where the bare value would read back as another one (blanks at its ends, or
// quotes around it), so that every value reads back as it was written.
QByteArray Encode(const QString& value)
{
    const QString stored = ReadBack(value) == value ? value : u'"' + value + u'"';
    return stored.toUtf8();
}

QString ValueOfLine(const QByteArray& text)
{
    return ReadBack(Decode(QByteArrayView(text).sliced(text.indexOf('=') + 1)));
}

bool IsBlank(const QByteArray& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

TIniDocument::TIniDocument(const QByteArray& data)
{
    QByteArrayView rest(data);
    if (rest.startsWith(kByteOrderMark)) {
        FByteOrderMark = kByteOrderMark;
        rest = rest.sliced(FByteOrderMark.size());
    }
    FSections.emplace_back();
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        TLine line{rest.first(end < 0 ? rest.size() : end).toByteArray(), {}};
        if (end >= 0) {
            line.lineBreak = line.text.endsWith('\r') ? "\r\n" : "\n";
            line.text.chop(line.lineBreak.size() - 1);
        }
        if (FLineBreak.isEmpty())
            FLineBreak = line.lineBreak;
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        AddLine(std::move(line));
    }
    if (FLineBreak.isEmpty())
        FLineBreak = "\r\n";
}

void TIniDocument::AddLine(TLine line)
{
    if (const auto name = SectionName(line.text)) {
        FSections.emplace_back();
        if (const QString folded = Fold(*name); !FSectionIndex.contains(folded))
            FSectionIndex.insert(folded, FSections.size() - 1);
    } else if (const auto key = KeyName(line.text)) {
        TSection& section = FSections.back();
        if (const QString folded = Fold(*key); !section.keys.contains(folded))
            section.keys.insert(folded, section.lines.size());
    }
    FSections.back().lines.push_back(std::move(line));
}

QByteArray TIniDocument::Text() const
{
    QByteArray text = FByteOrderMark;
    for (const TSection& section : FSections) {
        for (const TLine& line : section.lines)
            text += line.text + line.lineBreak;
    }
    return text;
}

const TIniDocument::TSection* TIniDocument::FindSection(const QString& section) const
{
    const auto found = FSectionIndex.constFind(Fold(section));
    return found == FSectionIndex.cend() ? nullptr : &FSections[*found];
}

std::optional<QString> TIniDocument::Value(const QString& section, const QString& key) const
{
    const TSection* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keys.constFind(Fold(key));
    if (line == found->keys.cend())
        return std::nullopt;
    return ValueOfLine(found->lines[*line].text);
}

bool TIniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    if (!FindSection(section))
        AddSection(section);
    TSection& target = FSections[FSectionIndex.value(Fold(section))];
    const auto existing = target.keys.constFind(Fold(key));
    if (existing == target.keys.cend()) {
        InsertKeyLine(target, key, key.toUtf8() + '=' + Encode(value));
        return true;
    }
    TLine& line = target.lines[*existing];
    if (ValueOfLine(line.text) == value)
        return false;
    line.text = line.text.left(line.text.indexOf('=') + 1) + Encode(value);
    return true;
}

void TIniDocument::AddSection(const QString& name)
{
    std::vector<TLine>& last = FSections.back().lines;
    if (!last.empty() && last.back().lineBreak.isEmpty())
        last.back().lineBreak = FLineBreak;
    if (!last.empty() && !IsBlank(last.back().text))
        last.push_back({{}, FLineBreak});
    AddLine({'[' + name.toUtf8() + ']', FLineBreak});
}

void TIniDocument::InsertKeyLine(TSection& section, const QString& key, QByteArray text)
{
    // After the section's last line that is not blank, so that a blank line before the next
    // header stays where it is.
    size_t at = section.lines.size();
    while (at > 1 && IsBlank(section.lines[at - 1].text))
        --at;
    if (section.lines[at - 1].lineBreak.isEmpty())
        section.lines[at - 1].lineBreak = FLineBreak;
    section.lines.insert(section.lines.begin() + qsizetype(at), TLine{std::move(text), FLineBreak});
    section.keys.insert(Fold(key), at);
}

bool TIniDocument::HasSection(const QString& section) const
{
    return FindSection(section) != nullptr;
}

QStringList TIniDocument::Keys(const QString& section) const
{
    QStringList keys;
    if (const TSection* found = FindSection(section)) {
        for (size_t i = 1; i < found->lines.size(); ++i) {
            if (const auto key = KeyName(found->lines[i].text))
                keys.append(*key);
        }
    }
    return keys;
}
