#include "shell/SameText.h"

namespace {

char16_t FoldAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

bool SameText(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldAsciiLetter(a[i].unicode()) != FoldAsciiLetter(b[i].unicode()))
            return false;
    }
    return true;
}
