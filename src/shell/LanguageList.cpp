#include "shell/LanguageList.h"

#include "shell/SameText.h"

TLanguageItem* TLanguageList::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

TLanguageItem* TLanguageList::Append(std::unique_ptr<TLanguageItem> item)
{
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

void TLanguageList::Clear()
{
    FItems.clear();
}

int TLanguageList::IndexOfId(const QString& id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (SameText(FItems[static_cast<size_t>(i)]->Id(), id))
            return i;
    }
    return -1;
}
