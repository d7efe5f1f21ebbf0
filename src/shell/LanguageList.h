#pragma once

#include "shell/LanguageItem.h"

#include <QString>

#include <memory>
#include <vector>

// The language files found, in the order in which they were found. Owns its items.
class TLanguageList
{
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TLanguageItem* Item(int index) const;
    TLanguageItem* Append(std::unique_ptr<TLanguageItem> item);
    void Clear();

    // Index of the item whose Id equals the text apart from the letter case of A-Z; -1 when
    // there is none.
    int IndexOfId(const QString& id) const;

private:
    std::vector<std::unique_ptr<TLanguageItem>> FItems;
};
