#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// One document adapter: a file format the engine reads or writes, and the engine behind it.
struct AdapterInfo
{
    std::int32_t key = 0;
    QString engine;
    QString fileType;
    QString version;
    QString description;
    std::int32_t capabilities = 0; // kAdapterCan* bits
};

// The adapters described in a plugins folder: one file per adapter, named *.adapter, in the
// INI format:
//
//   [Adapter]
//   Key=1            ; positive and unique: how the program names the adapter
//   Engine=qpdf      ; the engine that serves it; the only one there is
//   FileType=.pdf
//   Version=1.7
//   Description=...
//   Read=true
//   Write=true
//
// Files that lack a field, name another engine, repeat a key, or can neither read nor write
// are passed over. Adapters come in file-name order.
class AdapterCatalog
{
public:
    static AdapterCatalog Read(const QString& folder);

    const std::vector<AdapterInfo>& adapters() const { return adapters_; }
    const AdapterInfo* find(std::int32_t key) const;

private:
    std::vector<AdapterInfo> adapters_;
};
