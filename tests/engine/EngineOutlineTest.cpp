#include "CorpusManifest.h"
#include "EngineTestSupport.h"

#include <QTemporaryDir>

#include <functional>

namespace {

struct Section
{
    std::string title;
    int level;
    int first;
    int last;
    int lastBoth;

    friend bool operator==(const Section&, const Section&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Section& s)
    {
        return out << s.title << " L" << s.level << " " << s.first << ".." << s.last << "/" << s.lastBoth;
    }
};

// Reads the whole tree as the split planner and the bookmark dialog do: the root, then every
// child by copying its parent's answer and setting ChildIndex (ChildCount 1 below the root).
std::vector<Section> ReadOutline(IDocObject& document, TOutlineNode* rootOut = nullptr)
{
    TOutlineNode root{};
    root.NodeRef = 0;
    root.ChildIndex = 1;
    EXPECT_EQ(ControlRecord(document, kControlOutlineNode, &root), S_OK);
    if (rootOut != nullptr)
        *rootOut = root;
    std::vector<Section> sections;
    std::function<void(const TOutlineNode&)> readChildren = [&](const TOutlineNode& parent) {
        for (int c = 0; c < parent.ChildCount; ++c) {
            TOutlineNode child = parent;
            child.ChildIndex = c;
            child.ChildCount = parent.Level == 0 ? 1 : 0;
            EXPECT_EQ(ControlRecord(document, kControlOutlineNode, &child), S_OK);
            sections.push_back({QString::fromUtf16(child.Title).toStdString(), child.Level,
                                child.FirstPage, child.LastPage, child.LastPageBoth});
            readChildren(child);
        }
    };
    readChildren(root);
    return sections;
}

std::int32_t OutlineDepth(IDocObject& document)
{
    std::int32_t depth = -1;
    EXPECT_EQ(ControlRecord(document, kControlOutlineDepth, &depth), S_OK);
    return depth;
}

class OutlineTest : public EngineTest
{
protected:
    QString makePdf(int pages, const std::vector<OutlineSpec>& outline,
                    const std::vector<int>& rotations = {})
    {
        const QString path = folder_.filePath(QStringLiteral("doc%1.pdf").arg(++made_));
        WriteTestPdf(path, pages, outline, rotations);
        return path;
    }

    ComPtr<IDocObject> open(const QString& path)
    {
        ComPtr<IDocObject> document = NewDocument();
        EXPECT_GT(OpenForReading(*document, path), 0);
        return document;
    }

    QTemporaryDir folder_;
    int made_ = 0;
};

TEST_F(OutlineTest, SectionsEndAtTheNextBookmarkOnTheSameOrAHigherLevel)
{
    // Pages are 792 points high; headings at the top sit 30 to 50 points down, and a position
    // some 40 points further down counts as below the top.
    const std::vector<OutlineSpec> outline = {
        {"A", 0, DestKind::Direct, "/XYZ", 72, 750,
         {{"A.1", 1, DestKind::Direct, "/XYZ", 72, 400, {}},
          {"A.2", 3, DestKind::Direct, "/XYZ", 72, 750, {}}}},
        {"B", 4, DestKind::Direct, "/XYZ", 72, 300,
         {{"B.1", 5, DestKind::NamedDictionary, "/XYZ", 72, 740, {}},
          {"B.2", -1, DestKind::Remote, "", 0, 0, {}}}},
        {"C", 7, DestKind::GoToAction, "/FitH", 0, 760, {{"C.1", -1, DestKind::None, "", 0, 0, {}}}},
        {"D", -1, DestKind::None, "", 0, 0, {}},
        {"E", 7, DestKind::Direct, "/Fit", 0, 0, {}},
    };
    ComPtr<IDocObject> document = open(makePdf(10, outline));
    TOutlineNode root{};
    const std::vector<Section> expected = {
        {"A", 1, 1, 4, 5},    // B starts below the top of page 5
        {"A.1", 2, 2, 3, 3},  // A.2 starts at the top of page 4
        {"A.2", 2, 4, 4, 5},
        {"B", 1, 5, 7, 7},
        {"B.1", 2, 6, 7, 7},  // B.2 leads to another file and ends nothing
        {"B.2", 2, 0, -1, -1},
        {"C", 1, 8, 7, 7},    // E starts on the same page: no page of its own
        {"C.1", 2, 0, -1, -1},
        {"D", 1, 0, -1, -1},
        {"E", 1, 8, 10, 10},
    };
    EXPECT_EQ(ReadOutline(*document, &root), expected);
    EXPECT_EQ(root.Level, 0);
    EXPECT_EQ(root.ChildCount, 5);
    EXPECT_EQ(OutlineDepth(*document), 2);
}

TEST_F(OutlineTest, BelowTheTopFollowsThePageRotation)
{
    struct Case
    {
        int rotation;
        double left;
        double top;
        bool below;
    };
    // The second coordinate of each case would give the other answer if the rotation were
    // ignored.
    const Case cases[] = {
        {0, 500, 740, false},  {0, 30, 300, true},   {90, 30, 100, false}, {90, 400, 760, true},
        {180, 500, 40, false}, {180, 30, 500, true}, {270, 590, 100, false}, {270, 200, 760, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("rotation " + std::to_string(c.rotation) + (c.below ? " below" : " top"));
        const std::vector<OutlineSpec> outline = {
            {"first", 0, DestKind::Direct, "/XYZ", 72, 720, {}},
            {"second", 1, DestKind::Direct, "/XYZ", c.left, c.top, {}},
        };
        ComPtr<IDocObject> document = open(makePdf(3, outline, {0, c.rotation, 0}));
        const std::vector<Section> sections = ReadOutline(*document);
        ASSERT_EQ(sections.size(), 2u);
        EXPECT_EQ(sections[0].last, 1);
        EXPECT_EQ(sections[0].lastBoth, c.below ? 2 : 1);
    }
}

TEST_F(OutlineTest, TheTopMarginIsTheDepthMostBookmarksShare)
{
    // Pages are 792 points high; headings at the usual margin sit 56 points down.
    struct Case
    {
        const char* name;
        std::vector<OutlineSpec> outline;
        std::vector<int> lastBoth; // per bookmark
    };
    const Case cases[] = {
        {"a title at the very edge of the first page",
         {Mark("Title", 0, 792), Mark("One", 1, 736), Mark("Two", 2, 736), Mark("Three", 3, 736)},
         {1, 2, 3, 5}},
        {"every bookmark far below the top",
         {Mark("One", 0, 592), Mark("Two", 1, 592), Mark("Three", 2, 592)},
         {2, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IDocObject> document = open(makePdf(5, c.outline));
        std::vector<int> lastBoth;
        for (const Section& section : ReadOutline(*document))
            lastBoth.push_back(section.lastBoth);
        EXPECT_EQ(lastBoth, c.lastBoth);
    }
}

TEST_F(OutlineTest, DeepOutlinesStopAtTheLevelLimit)
{
    OutlineSpec deepest{"level", 0, DestKind::Direct, "/XYZ", 72, 720, {}};
    for (int level = 1; level < 100; ++level)
        deepest = OutlineSpec{"level", level % 3, DestKind::Direct, "/XYZ", 72, 720, {deepest}};
    ComPtr<IDocObject> document = open(makePdf(3, {deepest}));
    EXPECT_EQ(OutlineDepth(*document), 64);
    EXPECT_EQ(ReadOutline(*document).size(), 64u);
}

TEST_F(OutlineTest, QueriesNeedAnOpenDocumentAndAnExistingChild)
{
    ComPtr<IDocObject> document = NewDocument();
    TOutlineNode node{};
    std::int32_t depth = 0;
    EXPECT_TRUE(FAILED(ControlRecord(*document, kControlOutlineNode, &node)));
    EXPECT_TRUE(FAILED(ControlRecord(*document, kControlOutlineDepth, &depth)));

    document = open(makePdf(2, {{"only", 1, DestKind::Direct, "/XYZ", 72, 720, {}}}));
    node.ChildIndex = 1;
    ASSERT_EQ(ControlRecord(*document, kControlOutlineNode, &node), S_OK);
    node.ChildCount = 1;
    node.ChildIndex = 1; // the root has one child: index 0
    EXPECT_EQ(ControlRecord(*document, kControlOutlineNode, &node), E_INVALIDARG);
    node.NodeRef = 12345;
    node.ChildIndex = 0;
    EXPECT_EQ(ControlRecord(*document, kControlOutlineNode, &node), E_INVALIDARG);

    document = open(makePdf(2, {}));
    EXPECT_EQ(OutlineDepth(*document), 0);
    TOutlineNode root{};
    root.ChildIndex = 1;
    ASSERT_EQ(ControlRecord(*document, kControlOutlineNode, &root), S_OK);
    EXPECT_EQ(root.ChildCount, 0);
}

TEST_F(OutlineTest, CorpusOutlinesMatchTheManifest)
{
    const std::vector<CorpusEntry> corpus = ReadCorpusManifest();
    for (const CorpusEntry& entry : corpus) {
        if (entry.pages == -2 || entry.pages == 0)
            continue;
        SCOPED_TRACE(entry.file.toStdString());
        ComPtr<IDocObject> document = NewDocument();
        const QString path = CorpusFile(entry.file);
        PageCountOn(*document, path, entry.password);
        const std::int32_t pages = OpenForReading(*document, path);
        ASSERT_GT(pages, 0);
        EXPECT_EQ(OutlineDepth(*document), entry.outlineDepth);
        TOutlineNode root{};
        const std::vector<Section> sections = ReadOutline(*document, &root);
        EXPECT_EQ(root.ChildCount, entry.outlineTopCount);
        int resolved = 0;
        for (const Section& section : sections) {
            EXPECT_GE(section.first, 0);
            EXPECT_LE(section.first, pages);
            EXPECT_LE(section.lastBoth, pages);
            resolved += section.first > 0 ? 1 : 0;
        }
        // Items reached only through named destinations wrapped in << /D [...] >>.
        const int wrapped = entry.notes.value(QStringLiteral("named_dest_is_D_dict")).toInt();
        if (wrapped > 0) {
            EXPECT_EQ(resolved, wrapped);
        }
    }
}

} // namespace
