#pragma once

#include <QString>
#include <QStringList>

class QPDF;

// Warnings of the PDF library as short one-line texts, in the order they came. A damaged or
// hostile file can give one per object without end, so only the first kMaxKept are kept and
// the rest are counted.
class PdfWarnings
{
public:
    static constexpr qsizetype kMaxKept = 50;

    // Moves the warnings the document has recorded here; the PDF library forgets them.
    void takeFrom(QPDF& pdf);
    // Adds the other list's warnings after these.
    void append(PdfWarnings other);

    // The kept texts, then a line saying how many more there were, if any.
    QStringList lines() const;

private:
    void add(QString text);

    QStringList texts_;
    qsizetype dropped_ = 0;
};
