#include "split/TitleFileName.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f) ||
           c.category() == QChar::Other_Format || c.category() == QChar::Separator_Line ||
           c.category() == QChar::Separator_Paragraph;
}

QString ReplaceUnusable(const QString& title)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString cleaned;
    cleaned.reserve(title.size());
    for (const QChar c : title) {
        // A zero-width joiner holds emoji sequences together; other format characters
        // (direction marks among them) are invisible in a name and only confuse.
        if (c.unicode() == 0x200d)
            cleaned.append(c);
        else if (IsControl(c))
            cleaned.append(u' ');
        else if (forbidden.contains(c))
            cleaned.append(u'_');
        else
            cleaned.append(c);
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return cleaned.replace(blanks, QStringLiteral(" "));
}

QString TrimDotsAndBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    const auto trimmable = [](QChar c) { return c == u'.' || c.isSpace(); };
    while (first < last && trimmable(text.at(first)))
        ++first;
    while (last > first && trimmable(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

// The longest start of text, ending between two characters as a reader sees them, that takes
// at most maxBytes bytes of UTF-8.
QString CutToBytes(const QString& text, qsizetype maxBytes)
{
    if (text.toUtf8().size() <= maxBytes)
        return text;
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, text);
    qsizetype cut = 0;
    for (qsizetype next = boundaries.toNextBoundary(); next > 0; next = boundaries.toNextBoundary()) {
        if (QStringView(text).left(next).toUtf8().size() > maxBytes)
            break;
        cut = next;
    }
    return text.left(cut);
}

bool IsReservedDeviceName(const QString& stem)
{
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])$"),
                                           QRegularExpression::CaseInsensitiveOption);
    // Such a name is reserved with any extension, and blanks before the dot do not count.
    const QString base = stem.section(u'.', 0, 0).trimmed();
    return device.match(base).hasMatch();
}

} // namespace

QString FileStemFromTitle(const QString& title)
{
    QString stem = TrimDotsAndBlanks(ReplaceUnusable(title.normalized(QString::NormalizationForm_C)));
    stem = TrimDotsAndBlanks(CutToBytes(stem, kMaxTitleStemBytes));
    if (IsReservedDeviceName(stem))
        stem.append(u'_');
    return stem;
}

QString TTitleStems::Take(const QString& stem)
{
    QString candidate = stem;
    for (int n = 2; FTaken.contains(candidate.toCaseFolded()); ++n)
        candidate = stem + QStringLiteral(" (%1)").arg(n);
    FTaken.insert(candidate.toCaseFolded());
    return candidate;
}
