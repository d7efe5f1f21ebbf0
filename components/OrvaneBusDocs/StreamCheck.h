#pragma once

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <set>

// Decodes, into nothing, every stream of the page that a general filter (Flate, LZW, ASCII,
// run length) compresses and that is not in checked yet, and adds it there. Outputs keep such
// data compressed as it is, so damage inside it would otherwise pass unnoticed into them;
// decoding makes the PDF library record it as a warning of the document, as its own check
// would. Other pages, met through links and the page tree, are not entered.
void DecodeUncheckedStreams(QPDFObjectHandle page, std::set<QPDFObjGen>& checked);
