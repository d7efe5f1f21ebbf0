#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

class DestinationResolver;
class NavigationIndex;
class PdfSource;
class RunPageMap;
struct NavTarget;
struct ViewItem;

// Gives an output the navigation of its input, just before it is written: the bookmarks
// whose targets it holds (and their ancestors), links and named destinations that land on
// its own pages, links to pages that went to a sibling output turned into links to that
// file, links to pages in no output taken away (their appearance stays), the opening view
// when it shows one of its pages, and the document-level entries a reader uses (XMP
// metadata, language, viewer preferences, page mode).
//
// The output's pages are copies of the input pages `inputPages` (0-based, in output order);
// `runMap` says where the others went and may be null (then only the output's own pages are
// linked). Each part is an extra: a part that meets damage is left out, never the pages.
class OutputNavigation
{
public:
    OutputNavigation(QPDF& output, PdfSource& input, std::vector<int> inputPages,
                     const RunPageMap* runMap, QString outputPath);

    void apply();

private:
    void copyDocumentEntries();
    void addOutline();
    void dropWhatPrecedesTheLead(std::vector<char>& kept) const;
    int sectionBookmarkOf(int output) const;
    bool precedesTheSection(int bookmark, int lead) const;
    bool keptElsewhere(int bookmark) const;
    void fixLinks();
    void fixPageLinks(QPDFObjectHandle inputPage, QPDFObjectHandle outputPage);
    void fixLink(QPDFObjectHandle annotation, const NavTarget& target);
    void addNamedDestinations();
    void addOpeningView();

    std::optional<int> positionOf(int inputPage) const;
    QPDFObjectHandle localDestination(int position, const std::vector<ViewItem>& view) const;
    std::optional<QPDFObjectHandle> remoteAction(const NavTarget& target);
    QPDFObjectHandle siblingFile(int output);

    QPDF& output_;
    PdfSource& input_;
    const NavigationIndex& index_;
    DestinationResolver& destinations_;
    std::vector<int> inputPages_;
    const RunPageMap* runMap_;
    QString outputPath_;
    int outputNumber_ = -1;
    std::vector<QPDFObjectHandle> outputPages_;
    std::unordered_map<int, int> positions_; // input page -> first position in the output
    std::unordered_map<int, QPDFObjectHandle> siblingFiles_; // output number -> file spec
};
