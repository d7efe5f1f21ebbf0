#include "shell/IniFile.h"

#include "shell/IniDocument.h"
#include "shell/RegularFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

#include <optional>

namespace {

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

IniFileError WriteError(const QString& fileName, const char* reason)
{
    return IniFileError("cannot write " + fileName.toStdString() + ": " + reason);
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

TIniFile::~TIniFile() = default;

TIniDocument& TIniFile::Document() const
{
    if (!FDocument)
        FDocument =
            std::make_unique<TIniDocument>(ReadRegularFile(FFileName).value_or(QByteArray()));
    return *FDocument;
}

void TIniFile::Reload()
{
    FDocument.reset();
    FChanged = false;
}

void TIniFile::Update(const std::function<void()>& writes)
{
    {
        ++FUpdateDepth;
        const auto leave = qScopeGuard([this] { --FUpdateDepth; });
        try {
            writes();
        } catch (...) {
            Reload();
            throw;
        }
    }
    SaveIfChanged();
}

void TIniFile::SaveIfChanged()
{
    if (!FChanged || FUpdateDepth > 0)
        return;
    // Saving replaces the file by renaming a new one over it, which would also replace a
    // pipe or a device that stands in its place.
    const QFileInfo target(FFileName);
    if (target.exists() && !target.isFile())
        throw WriteError(FFileName, "not a regular file");
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly))
        throw WriteError(FFileName, "cannot create");
    file.write(Document().Text());
    if (!file.commit())
        throw WriteError(FFileName, "cannot save");
    FChanged = false;
}

bool TIniFile::FitsOnOneLine(const QString& value)
{
    return !value.contains(u'\n') && !value.contains(u'\r');
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return Document().Value(section, key).value_or(def);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    if (!FitsOnOneLine(section) || !FitsOnOneLine(key) || !FitsOnOneLine(value))
        throw WriteError(FFileName, "a line break");
    if (!Document().SetValue(section, key, value))
        return;
    FChanged = true;
    SaveIfChanged();
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
    return Document().HasSection(section);
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return Document().Value(section, key).has_value();
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    return Document().Keys(section);
}
