// Writes the sample document that the open dialog offers first: 24 pages in four chapters,
// each of two sections of three pages, with a three-level outline. The second subsection of
// every section starts half-way down a page, so a split at that level has a page that belongs
// to two parts. The output is byte-for-byte the same on every run.

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kChapters = 4;
constexpr int kSections = 2;
constexpr int kPagesPerSection = 3;
constexpr int kPageCount = kChapters * kSections * kPagesPerSection;
constexpr double kPageWidth = 612;
constexpr double kPageHeight = 792;
// Where a heading at the top of a page stands, and where the mid-page subsection starts.
constexpr double kTopHeading = 700;
constexpr double kMidHeading = 400;

const char* const kChapterNames[kChapters] = {"Getting started", "Working with pages",
                                              "Bookmarks and levels", "Ranges and parts"};

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string Number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

std::string Fraction(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

class TContent
{
public:
    void Text(const char* font, int size, double x, double y, const std::string& text,
              double grey = 0)
    {
        FStream += Fraction(grey) + " g\n";
        FStream += "BT /" + std::string(font) + " " + std::to_string(size) + " Tf " + Number(x) +
                   " " + Number(y) + " Td (" + Escaped(text) + ") Tj ET\n";
    }
    void Rule(double x1, double x2, double y, double grey)
    {
        FStream += Fraction(grey) + " G 0.8 w " + Number(x1) + " " + Number(y) + " m " +
                   Number(x2) + " " + Number(y) + " l S\n";
    }
    void Band(double y, double height, const char* rgb)
    {
        FStream += std::string(rgb) + " rg 0 " + Number(y) + " " + Number(kPageWidth) + " " +
                   Number(height) + " re f\n";
    }
    const std::string& Stream() const { return FStream; }

private:
    std::string FStream;
};

std::string SectionLabel(int chapter, int section)
{
    return std::to_string(chapter) + "." + std::to_string(section);
}

std::string SubsectionTitle(int chapter, int section, int subsection)
{
    return "Subsection " + SectionLabel(chapter, section) + "." + std::to_string(subsection);
}

void BodyLines(TContent& content, double top, int lines, int chapter, int section)
{
    static const char* const kSentences[] = {
        "This page is part of the sample document that comes with the program.",
        "Split it every few pages, by a page range, into equal parts or at a bookmark level.",
        "Each part keeps its own pages and the bookmarks that point into them.",
        "The outline of this document has chapters, sections and subsections.",
    };
    for (int i = 0; i < lines; ++i) {
        const std::string sentence = kSentences[(i + chapter + section) % 4];
        content.Text("F1", 11, 72, top - i * 16, sentence, 0.25);
    }
}

// One page: running heading, its subsection heading(s), body text and the page number.
std::string PageContent(int page, int chapter, int section, int pageInSection)
{
    TContent content;
    content.Band(kPageHeight - 36, 36, "0.11 0.42 0.71");
    content.Text(
        "F2", 12, 72, kPageHeight - 23,
        std::string("Chapter ") + std::to_string(chapter) + ": " + kChapterNames[chapter - 1], 1);
    content.Text("F2", 20, 72, 740,
                 "Chapter " + std::to_string(chapter) + ", Section " + std::to_string(section) +
                     ", page " + std::to_string(page));
    content.Rule(72, kPageWidth - 72, 728, 0.6);

    switch (pageInSection) {
    case 1:
        content.Text("F2", 14, 72, kTopHeading - 10, SubsectionTitle(chapter, section, 1));
        BodyLines(content, kTopHeading - 36, 14, chapter, section);
        break;
    case 2:
        // The first subsection runs on, the second starts lower on this page.
        BodyLines(content, kTopHeading - 10, 12, chapter, section);
        content.Rule(72, kPageWidth - 72, kMidHeading + 24, 0.8);
        content.Text("F2", 14, 72, kMidHeading - 10, SubsectionTitle(chapter, section, 2));
        BodyLines(content, kMidHeading - 36, 12, chapter, section + 1);
        break;
    default:
        content.Text("F2", 14, 72, kTopHeading - 10, SubsectionTitle(chapter, section, 3));
        BodyLines(content, kTopHeading - 36, 14, chapter, section);
        break;
    }
    content.Text("F1", 10, kPageWidth / 2 - 30, 40,
                 "Page " + std::to_string(page) + " of " + std::to_string(kPageCount), 0.45);
    return content.Stream();
}

QPDFObjectHandle Font(QPDF& pdf, const char* baseFont)
{
    QPDFObjectHandle font = QPDFObjectHandle::newDictionary();
    font.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
    font.replaceKey("/Subtype", QPDFObjectHandle::newName("/Type1"));
    font.replaceKey("/BaseFont", QPDFObjectHandle::newName(baseFont));
    font.replaceKey("/Encoding", QPDFObjectHandle::newName("/WinAnsiEncoding"));
    return pdf.makeIndirectObject(font);
}

struct TItem
{
    std::string title;
    int page; // 0-based
    double top;
    std::vector<TItem> children;
};

int CountAll(const std::vector<TItem>& items)
{
    int count = 0;
    for (const TItem& item : items)
        count += 1 + CountAll(item.children);
    return count;
}

void LinkOutline(QPDF& pdf, QPDFObjectHandle parent, const std::vector<TItem>& items,
                 const std::vector<QPDFPageObjectHelper>& pages)
{
    QPDFObjectHandle previous;
    for (const TItem& entry : items) {
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(entry.title));
        item.replaceKey("/Parent", parent);
        QPDFObjectHandle destination = QPDFObjectHandle::newArray();
        destination.appendItem(pages.at(static_cast<std::size_t>(entry.page)).getObjectHandle());
        destination.appendItem(QPDFObjectHandle::newName("/XYZ"));
        destination.appendItem(QPDFObjectHandle::newInteger(0));
        destination.appendItem(QPDFObjectHandle::newInteger(static_cast<long long>(entry.top)));
        destination.appendItem(QPDFObjectHandle::newNull());
        item.replaceKey("/Dest", destination);
        if (previous.isInitialized()) {
            previous.replaceKey("/Next", item);
            item.replaceKey("/Prev", previous);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        previous = item;
        if (!entry.children.empty()) {
            LinkOutline(pdf, item, entry.children, pages);
            // Chapters open, deeper levels closed: a positive count opens an item.
            const int count = CountAll(entry.children);
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(
                                          entry.children.front().children.empty()
                                              ? -count
                                              : static_cast<long long>(entry.children.size())));
        }
    }
}

std::vector<TItem> Outline()
{
    std::vector<TItem> chapters;
    for (int c = 1; c <= kChapters; ++c) {
        const int chapterFirst = (c - 1) * kSections * kPagesPerSection;
        TItem chapter{
            "Chapter " + std::to_string(c) + ": " + kChapterNames[c - 1], chapterFirst, 760, {}};
        for (int s = 1; s <= kSections; ++s) {
            const int first = chapterFirst + (s - 1) * kPagesPerSection;
            TItem section{"Section " + SectionLabel(c, s), first, 760, {}};
            section.children = {
                {SubsectionTitle(c, s, 1), first, kTopHeading + 14, {}},
                {SubsectionTitle(c, s, 2), first + 1, kMidHeading + 14, {}},
                {SubsectionTitle(c, s, 3), first + 2, kTopHeading + 14, {}},
            };
            chapter.children.push_back(section);
        }
        chapters.push_back(chapter);
    }
    return chapters;
}

void Make(const std::string& path)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey("/F1", Font(pdf, "/Helvetica"));
    fonts.replaceKey("/F2", Font(pdf, "/Helvetica-Bold"));
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fonts);

    QPDFPageDocumentHelper document(pdf);
    int page = 0;
    for (int c = 1; c <= kChapters; ++c) {
        for (int s = 1; s <= kSections; ++s) {
            for (int p = 1; p <= kPagesPerSection; ++p) {
                ++page;
                QPDFObjectHandle object = QPDFObjectHandle::newDictionary();
                object.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
                object.replaceKey("/MediaBox",
                                  QPDFObjectHandle::newFromRectangle(
                                      QPDFObjectHandle::Rectangle(0, 0, kPageWidth, kPageHeight)));
                object.replaceKey("/Resources", resources);
                object.replaceKey("/Contents",
                                  QPDFObjectHandle::newStream(&pdf, PageContent(page, c, s, p)));
                document.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(object)), false);
            }
        }
    }

    const std::vector<QPDFPageObjectHelper> pages = document.getAllPages();
    const std::vector<TItem> outline = Outline();
    QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    LinkOutline(pdf, outlines, outline, pages);
    outlines.replaceKey("/Count",
                        QPDFObjectHandle::newInteger(static_cast<long long>(outline.size()) +
                                                     kChapters * kSections));
    pdf.getRoot().replaceKey("/Outlines", outlines);
    pdf.getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));

    QPDFObjectHandle info = QPDFObjectHandle::newDictionary();
    info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString("Sample document for splitting"));
    info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(
                                    "24 pages in four chapters with a three-level outline"));
    pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));

    // Written beside the target and renamed, so an interrupted build leaves no half file.
    const std::string temporary = path + ".part";
    QPDFWriter writer(pdf, temporary.c_str());
    writer.setDeterministicID(true);
    writer.write();
    std::filesystem::rename(temporary, path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: SampleMaker <output.pdf>\n");
        return 2;
    }
    try {
        const std::filesystem::path target(argv[1]);
        if (target.has_parent_path())
            std::filesystem::create_directories(target.parent_path());
        Make(target.string());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "SampleMaker: %s\n", error.what());
        return 1;
    }
    return 0;
}
