#include "shell/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace {

std::optional<QString> SectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool IsComment(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

struct KeyValue
{
    QString key;
    QString value;
};

std::optional<KeyValue> ParseKeyValue(const QString& line)
{
    if (IsComment(line))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    QString value = line.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return KeyValue{line.left(equals).trimmed(), value};
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Lines [begin, end) of a section's body; begin is -1 when the section is missing.
struct SectionSpan
{
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionSpan FindSection(const QStringList& lines, const QString& section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name)
            continue;
        if (span.header >= 0)
            return {span.header, i};
        if (SameName(*name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = lines.size();
    return span;
}

qsizetype FindKey(const QStringList& lines, const SectionSpan& span, const QString& key)
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const auto kv = ParseKeyValue(lines[i]);
        if (kv && SameName(kv->key, key))
            return i;
    }
    return -1;
}

std::optional<int> ParseInteger(const QString& text)
{
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = int(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

QStringList TIniFile::ReadLines() const
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TIniFile::SaveLines(const QStringList& lines) const
{
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly))
        throw IniFileError("cannot write " + FFileName.toStdString());
    for (const QString& line : lines) {
        file.write(line.toUtf8());
        file.write("\r\n");
    }
    if (!file.commit())
        throw IniFileError("cannot write " + FFileName.toStdString());
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const QStringList lines = ReadLines();
    const SectionSpan span = FindSection(lines, section);
    if (span.header < 0)
        return def;
    const qsizetype at = FindKey(lines, span, key);
    return at < 0 ? def : ParseKeyValue(lines[at])->value;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    QStringList lines = ReadLines();
    const QString entry = key + u'=' + value;
    const SectionSpan span = FindSection(lines, section);
    if (span.header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(entry);
    } else if (const qsizetype at = FindKey(lines, span, key); at >= 0) {
        lines[at] = entry;
    } else {
        qsizetype insertAt = span.end;
        while (insertAt > span.header + 1 && lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, entry);
    }
    SaveLines(lines);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    return ParseInteger(ReadString(section, key, QString())).value_or(def);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(ReadLines(), section).header >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    const QStringList lines = ReadLines();
    const SectionSpan span = FindSection(lines, section);
    return span.header >= 0 && FindKey(lines, span, key) >= 0;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    const QStringList lines = ReadLines();
    const SectionSpan span = FindSection(lines, section);
    QStringList keys;
    for (qsizetype i = span.header + 1; span.header >= 0 && i < span.end; ++i) {
        if (const auto kv = ParseKeyValue(lines[i]))
            keys.append(kv->key);
    }
    return keys;
}
