#include "AdapterCatalog.h"

#include "engine/DocEngine.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
#include <optional>

namespace {

std::optional<AdapterInfo> ReadAdapter(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Adapter"));
    AdapterInfo adapter;
    bool keyIsNumber = false;
    adapter.key = file.value(QStringLiteral("Key")).toInt(&keyIsNumber);
    adapter.engine = file.value(QStringLiteral("Engine")).toString();
    adapter.fileType = file.value(QStringLiteral("FileType")).toString();
    adapter.version = file.value(QStringLiteral("Version")).toString();
    adapter.description = file.value(QStringLiteral("Description")).toString();
    if (file.value(QStringLiteral("Read")).toBool())
        adapter.capabilities |= kAdapterCanRead;
    if (file.value(QStringLiteral("Write")).toBool())
        adapter.capabilities |= kAdapterCanWrite;
    const bool usable = file.status() == QSettings::NoError && keyIsNumber && adapter.key > 0 &&
                        adapter.engine == QLatin1String("qpdf") && !adapter.fileType.isEmpty() &&
                        !adapter.version.isEmpty() && adapter.capabilities != 0;
    return usable ? std::optional<AdapterInfo>(adapter) : std::nullopt;
}

} // namespace

AdapterCatalog AdapterCatalog::Read(const QString& folder)
{
    AdapterCatalog catalog;
    if (folder.isEmpty())
        return catalog;
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({QStringLiteral("*.adapter")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : files) {
        std::optional<AdapterInfo> adapter = ReadAdapter(dir.filePath(name));
        if (adapter && catalog.find(adapter->key) == nullptr)
            catalog.adapters_.push_back(std::move(*adapter));
    }
    return catalog;
}

const AdapterInfo* AdapterCatalog::find(std::int32_t key) const
{
    const auto found = std::find_if(adapters_.begin(), adapters_.end(),
                                    [key](const AdapterInfo& adapter) { return adapter.key == key; });
    return found == adapters_.end() ? nullptr : &*found;
}
