#include "shell/DefineShare.h"

std::optional<QString> OutputExtension(TFileFormat format)
{
    switch (format) {
    case ffWord:
        return QStringLiteral(".docx");
    case ffRTF:
        return QStringLiteral(".rtf");
    case ffXml:
        return QStringLiteral(".xml");
    case ffExcel:
        return QStringLiteral(".xlsx");
    case ffPPT:
        return QStringLiteral(".pptx");
    case ffTiff:
        return QStringLiteral(".tiff");
    case ffPdf:
        return QStringLiteral(".pdf");
    case ffHtml:
        return QStringLiteral(".html");
    case ffTxt:
        return QStringLiteral(".txt");
    case ffEpub:
        return QStringLiteral(".epub");
    case ffImage:
    case ffPWSRemove:
    case ffTest:
        break;
    }
    return std::nullopt;
}
