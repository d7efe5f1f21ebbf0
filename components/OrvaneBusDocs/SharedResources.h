#pragma once

class QPDF;

// True when pages (or form XObjects on pages) share resource dictionaries, or the page tree
// carries inherited resources. Pages of such documents usually carry resources they do not
// use, and copying them alone drags all of those along; the PDF library's own page selection
// then prunes every copied page's resources first, and so does the engine.
bool PagesShareResources(QPDF& pdf);
