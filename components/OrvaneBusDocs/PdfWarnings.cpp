#include "PdfWarnings.h"

#include "engine/DocEngine.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include <QFileInfo>

#include <utility>

namespace {

// The library names the input by the path it was given; the file's name says as much to the
// user and leaves room for the message.
QString ShortText(const QPDFExc& warning)
{
    QString text = QString::fromStdString(warning.what());
    const QString path = QString::fromStdString(warning.getFilename());
    if (!path.isEmpty() && text.startsWith(path))
        text.replace(0, path.size(), QFileInfo(path).fileName());
    // Longer texts would be cut when handed out anyway.
    return text.simplified().left(kTitleCapacity);
}

} // namespace

void PdfWarnings::takeFrom(QPDF& pdf)
{
    if (!pdf.anyWarnings())
        return;
    for (const QPDFExc& warning : pdf.getWarnings())
        add(ShortText(warning));
}

void PdfWarnings::append(PdfWarnings other)
{
    for (QString& text : other.texts_)
        add(std::move(text));
    dropped_ += other.dropped_;
}

QStringList PdfWarnings::lines() const
{
    QStringList result = texts_;
    if (dropped_ > 0)
        result.append(QStringLiteral("... and %1 more warnings").arg(dropped_));
    return result;
}

void PdfWarnings::add(QString text)
{
    if (texts_.size() < kMaxKept)
        texts_.append(std::move(text));
    else
        ++dropped_;
}
