#pragma once

#include <QObject>
#include <QString>

#include <optional>

// Definitions shared by the configuration, the document model and the engine adapters.
namespace DefineShare {
Q_NAMESPACE

// Document formats, in the engine's numbering; the configuration names them by identifier.
enum TFileFormat : quint8 {
    ffWord,
    ffRTF,
    ffXml,
    ffExcel,
    ffPPT,
    ffTiff,
    ffPdf,
    ffHtml,
    ffTxt,
    ffImage,
    ffPWSRemove,
    ffTest,
    ffEpub
};
Q_ENUM_NS(TFileFormat)

} // namespace DefineShare

using DefineShare::TFileFormat;
using enum DefineShare::TFileFormat;

// The file extension of an output in that format, with its dot; none for the formats that
// have no single file extension (the caller then keeps its own). No office suite is looked
// for: the current office formats apply.
std::optional<QString> OutputExtension(TFileFormat format);
