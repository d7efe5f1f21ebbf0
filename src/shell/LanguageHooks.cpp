#include "shell/LanguageHooks.h"

namespace {

LanguageFontApplier& FontApplier()
{
    static LanguageFontApplier applier;
    return applier;
}

ListContentApplier& ContentApplier()
{
    static ListContentApplier applier;
    return applier;
}

} // namespace

void SetLanguageFontApplier(LanguageFontApplier applier)
{
    FontApplier() = std::move(applier);
}

void ApplyLanguageFont(QObject* window, const TLanguageFont& font)
{
    if (const LanguageFontApplier& applier = FontApplier())
        applier(window, font);
}

void SetListContentApplier(ListContentApplier applier)
{
    ContentApplier() = std::move(applier);
}

bool ApplyListContent(QObject* component, TListContentKind kind, const QStringList& lines)
{
    const ListContentApplier& applier = ContentApplier();
    return applier && applier(component, kind, lines);
}
