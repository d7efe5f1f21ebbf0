// Page-range strings from arbitrary bytes. Checks, besides the sanitizers:
// - the expanded list never exceeds max(page count, kMaxExpandedPages);
// - whatever validates expands to pages 1 .. page count, strictly ascending;
// - both operations agree with a plain re-reading of the rules, character position by
//   character position, whose numbers are read by Qt's own conversion.
//
// Input: byte 0 chooses the text encoding and the all-pages word, byte 1 (and for larger
// documents the next two or three bytes) the page count; the rest is the string.

#include "model/PageStr.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "PageStrFuzz: %s\n", what);
    std::abort();
}

QString FoldedAZ(QStringView text)
{
    QString folded = text.toString();
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return folded;
}

bool SameWord(QStringView a, QStringView b)
{
    return FoldedAZ(a) == FoldedAZ(b);
}

// Characters p+1 .. q-1 of S (1-based positions), trimmed of U+0000..U+0020, converted.
int ReferenceItem(const QString& s, qsizetype p, qsizetype q)
{
    QString item = s.mid(p, q - p - 1);
    while (!item.isEmpty() && item.front().unicode() <= 0x20)
        item.remove(0, 1);
    while (!item.isEmpty() && item.back().unicode() <= 0x20)
        item.chop(1);
    for (const QChar c : item) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            return -1;
    }
    bool ok = false;
    const int value = item.toInt(&ok, 10);
    return ok ? value : -1;
}

bool IsSeparator(QChar c)
{
    return c == u',' || c == u'-';
}

// Follows the rules of expansion and compares each page they give with the actual list, so
// that large lists are checked without building a second one.
class ExpansionCheck
{
public:
    ExpansionCheck(const QList<int>& actual, qsizetype limit)
        : FActual(actual.constData()), FSize(actual.size()), FLimit(limit)
    {
    }

    bool IsFull() const { return FIndex >= FLimit; }

    void Expect(qint64 page)
    {
        if (IsFull())
            return;
        Require(FIndex < FSize && FActual[FIndex] == page, "expansion differs from the rules");
        ++FIndex;
    }

    void ExpectRange(qint64 first, qint64 last)
    {
        for (qint64 page = first; page <= last && !IsFull(); ++page)
            Expect(page);
    }

    void ExpectEnd() const { Require(FIndex == FSize, "expansion has more pages than the rules"); }

private:
    const int* FActual;
    qsizetype FSize;
    qsizetype FLimit;
    qsizetype FIndex = 0;
};

void CheckExpansion(const QList<int>& actual, const QString& s, int totalPage, const QString& word)
{
    if (SameWord(s, word)) {
        ExpansionCheck all(actual, std::max(totalPage, 0));
        all.ExpectRange(1, totalPage);
        all.ExpectEnd();
        return;
    }
    ExpansionCheck check(actual, std::max(totalPage, kMaxExpandedPages));
    auto applySeparator = [&](QChar separator, int previous, int cur) {
        if (separator == u',')
            check.Expect(previous);
        if (separator == u'-')
            check.ExpectRange(previous, qint64(cur) - 1);
    };
    const qsizetype length = s.size();
    qsizetype previousPos = 0;
    int previousValue = 0;
    QChar previousSeparator;
    for (qsizetype i = 1; i <= length; ++i) {
        if (!IsSeparator(s[i - 1]))
            continue;
        const int cur = ReferenceItem(s, previousPos, i);
        applySeparator(previousSeparator, previousValue, cur);
        previousPos = i;
        previousValue = cur;
        previousSeparator = s[i - 1];
    }
    const int cur = ReferenceItem(s, previousPos, length + 1);
    applySeparator(previousSeparator, previousValue, cur);
    check.Expect(cur);
    check.ExpectEnd();
}

bool ReferenceValidate(const QString& s, int pageCount)
{
    if (SameWord(s, u"All"))
        return false;
    int dash = 0;
    qsizetype previousPos = 0;
    int previousValue = 0;
    auto acceptable = [&](int n) { return n != -1 && n > previousValue && n <= pageCount; };
    for (qsizetype i = 1; i <= s.size(); ++i) {
        if (!IsSeparator(s[i - 1]))
            continue;
        dash = s[i - 1] == u',' ? 0 : dash + 1;
        if (dash >= 2)
            return false;
        const int n = ReferenceItem(s, previousPos, i);
        if (!acceptable(n))
            return false;
        previousPos = i;
        previousValue = n;
    }
    return acceptable(ReferenceItem(s, previousPos, s.size() + 1));
}

struct Input
{
    QString text;
    QString word;
    int pageCount = 0;
};

Input Decode(const uint8_t* data, size_t size)
{
    Input input;
    if (size < 2)
        return input;
    const uint8_t flags = data[0];
    const uint8_t countByte = data[1];
    data += 2;
    size -= 2;
    // Mostly small documents, so that validation has a chance; some of up to 65,534 pages;
    // now and then one beyond the bound of the expanded list.
    auto take = [&](int count) {
        uint32_t raw = 0;
        for (int k = 0; k < count && size > 0; ++k, ++data, --size)
            raw |= uint32_t(*data) << (8 * k);
        return raw;
    };
    if (countByte < 0xC0)
        input.pageCount = countByte % 64 - 1;
    else if (countByte < 0xFF)
        input.pageCount = int(take(2)) - 1;
    else
        input.pageCount = int(take(3) % uint32_t(2 * kMaxExpandedPages + 2)) - 1;
    if (flags & 1) {
        input.text = QString(qsizetype(size / 2), Qt::Uninitialized); // data may be unaligned
        std::memcpy(input.text.data(), data, size_t(input.text.size()) * sizeof(QChar));
    } else {
        input.text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    switch ((flags >> 1) & 3) {
    case 0: input.word = QStringLiteral("All"); break;
    case 1: break;
    case 2: input.word = QStringLiteral("aLL"); break;
    default: input.word = input.text.left((flags >> 3) & 7); break;
    }
    return input;
}

bool StrictlyAscendingWithin(const QList<int>& pages, int pageCount)
{
    int previous = 0;
    for (const int page : pages) {
        if (page <= previous || page > pageCount)
            return false;
        previous = page;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Input input = Decode(data, size);
    const QList<int> pages = ExpandPageStr(input.text, input.pageCount, input.word);
    const bool valid = ValidatePageStr(input.text, input.pageCount);

    Require(pages.size() <= std::max(input.pageCount, kMaxExpandedPages),
            "expansion exceeds its bound");
    CheckExpansion(pages, input.text, input.pageCount, input.word);
    Require(valid == ReferenceValidate(input.text, input.pageCount),
            "validation differs from the rules");
    if (valid) {
        Require(!pages.isEmpty(), "a valid selection expands to nothing");
        Require(StrictlyAscendingWithin(pages, input.pageCount),
                "a valid selection expands outside 1 .. page count or out of order");
    }
    return 0;
}
