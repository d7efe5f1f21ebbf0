#include "model/PageStr.h"

#include "shell/SameText.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

constexpr int kUnreadable = -1;
constexpr char16_t kNoSeparator = u'\0';

bool IsSeparator(char16_t c)
{
    return c == u',' || c == u'-';
}

// Control characters and the space: what is trimmed from both ends of an item.
bool IsBlank(char16_t c)
{
    return c <= u' ';
}

QStringView Stripped(QStringView item)
{
    qsizetype first = 0;
    qsizetype end = item.size();
    while (first < end && IsBlank(item[first].unicode()))
        ++first;
    while (end > first && IsBlank(item[end - 1].unicode()))
        --end;
    return item.sliced(first, end - first);
}

// ASCII decimal digits with an optional leading "+"; anything else, or a value beyond the
// range of int, is unreadable.
int ItemValue(QStringView item)
{
    const QStringView text = Stripped(item);
    qsizetype i = (!text.isEmpty() && text.front() == u'+') ? 1 : 0;
    if (i == text.size())
        return kUnreadable;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return kUnreadable;
        const int digit = c - u'0';
        if (value > (std::numeric_limits<int>::max() - digit) / 10)
            return kUnreadable;
        value = value * 10 + digit;
    }
    return value;
}

struct Item
{
    int value;
    char16_t separatorAfter; // kNoSeparator after the last item
};

// Reads the items of a page-range string from left to right. A string always holds at least
// one item: the empty string is one empty item.
class ItemReader
{
public:
    explicit ItemReader(QStringView text) : FText(text) {}

    bool AtEnd() const { return FDone; }

    Item Next()
    {
        const qsizetype start = FPos;
        while (FPos < FText.size() && !IsSeparator(FText[FPos].unicode()))
            ++FPos;
        const int value = ItemValue(FText.sliced(start, FPos - start));
        if (FPos == FText.size()) {
            FDone = true;
            return {value, kNoSeparator};
        }
        return {value, FText[FPos++].unicode()};
    }

private:
    QStringView FText;
    qsizetype FPos = 0;
    bool FDone = false;
};

// The growing page list, which refuses entries beyond its limit.
class BoundedPageList
{
public:
    explicit BoundedPageList(qsizetype limit) : FLimit(limit) {}

    bool IsFull() const { return FPages.size() >= FLimit; }

    void Append(int page)
    {
        if (!IsFull())
            FPages.append(page);
    }

    // first, first + 1, ..., last; nothing when last < first.
    void AppendRange(int first, int last)
    {
        if (last < first)
            return;
        const qint64 wanted = qint64(last) - first + 1;
        const qsizetype count = qsizetype(std::min<qint64>(wanted, FLimit - FPages.size()));
        const qsizetype end = FPages.size();
        FPages.resize(end + count);
        std::iota(FPages.begin() + end, FPages.end(), first);
    }

    QList<int> Take() { return std::move(FPages); }

private:
    QList<int> FPages;
    qsizetype FLimit;
};

QList<int> AllPages(int totalPage)
{
    QList<int> pages(std::max(totalPage, 0));
    std::iota(pages.begin(), pages.end(), 1);
    return pages;
}

} // namespace

QList<int> ExpandPageStr(QStringView s, int totalPage, QStringView allPagesWord)
{
    if (SameText(s, allPagesWord))
        return AllPages(totalPage);

    // An item followed by "," or ending the string stands for itself; an item followed by
    // "-" stands for the pages from itself up to just before the next item, which then goes
    // on with its own separator (so a-b-c gives a .. c).
    BoundedPageList pages(std::max(totalPage, kMaxExpandedPages));
    ItemReader reader(s);
    bool inRange = false;
    int rangeStart = 0;
    while (!reader.AtEnd() && !pages.IsFull()) {
        const Item item = reader.Next();
        if (inRange)
            pages.AppendRange(rangeStart, item.value - 1);
        inRange = item.separatorAfter == u'-';
        if (inRange)
            rangeStart = item.value;
        else
            pages.Append(item.value);
    }
    return pages.Take();
}

bool ValidatePageStr(QStringView s, int pageCount)
{
    if (SameText(s, u"All"))
        return false;
    int previous = 0;
    bool afterDash = false;
    ItemReader reader(s);
    while (!reader.AtEnd()) {
        const Item item = reader.Next();
        const bool dash = item.separatorAfter == u'-';
        if (dash && afterDash)
            return false; // two ranges chained without a "," between them
        if (item.value == kUnreadable || item.value <= previous || item.value > pageCount)
            return false;
        previous = item.value;
        afterDash = dash;
    }
    return true;
}

QStringList PageListTexts(const QList<int>& pages)
{
    QStringList texts;
    texts.reserve(pages.size());
    for (const int page : pages)
        texts.append(QString::number(page));
    return texts;
}

QString PageStrOf(const QList<int>& ascendingPages)
{
    QString text;
    for (qsizetype i = 0; i < ascendingPages.size();) {
        qsizetype last = i;
        while (last + 1 < ascendingPages.size() &&
               ascendingPages[last + 1] == ascendingPages[last] + 1)
            ++last;
        if (!text.isEmpty())
            text += u',';
        text += QString::number(ascendingPages[i]);
        if (last > i)
            text += u'-' + QString::number(ascendingPages[last]);
        i = last + 1;
    }
    return text;
}
