#include "NavigationCheck.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace {

// A document read for checking: its pages by object and its named destinations.
class Reading
{
public:
    Reading(const QString& path, const std::string& password)
    {
        pdf_.setSuppressWarnings(true);
        const std::string name = path.toStdString();
        pdf_.processFile(name.c_str(), password.empty() ? nullptr : password.c_str());
        pages_ = pdf_.getAllPages();
        for (std::size_t i = 0; i < pages_.size(); ++i)
            pageIndex_[pages_[i].getObjGen()] = static_cast<int>(i);
        QPDFObjectHandle names = pdf_.getRoot().getKey("/Names");
        if (names.isDictionary() && names.getKey("/Dests").isDictionary())
            nameTree_ = std::make_unique<QPDFNameTreeObjectHelper>(names.getKey("/Dests"), pdf_);
    }

    QPDF& pdf() { return pdf_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    QPDFObjectHandle page(int index) { return pages_.at(static_cast<std::size_t>(index)); }

    // The page (0-based) a destination leads to; -1 for none.
    int pageOf(QPDFObjectHandle destination)
    {
        destination = explicitDestination(destination);
        if (!destination.isArray() || destination.getArrayNItems() == 0)
            return -1;
        QPDFObjectHandle page = destination.getArrayItem(0);
        const auto found = pageIndex_.find(page.getObjGen());
        return page.isIndirect() && found != pageIndex_.end() ? found->second : -1;
    }

    // The view a destination shows its page with, as written (" /XYZ 72 720 null").
    std::string viewOf(QPDFObjectHandle destination)
    {
        return ViewText(explicitDestination(destination));
    }

    static std::string ViewText(QPDFObjectHandle destination)
    {
        std::string view;
        for (int i = 1; destination.isArray() && i < destination.getArrayNItems(); ++i)
            view += " " + destination.getArrayItem(i).unparse();
        return view;
    }

private:
    QPDFObjectHandle explicitDestination(QPDFObjectHandle destination)
    {
        if (destination.isString() && nameTree_) {
            QPDFObjectHandle found;
            destination = nameTree_->findObject(destination.getUTF8Value(), found)
                              ? found
                              : QPDFObjectHandle::newNull();
        } else if (destination.isName()) {
            QPDFObjectHandle dests = pdf_.getRoot().getKey("/Dests");
            destination = dests.isDictionary() ? dests.getKey(destination.getName())
                                               : QPDFObjectHandle::newNull();
        }
        if (destination.isDictionary())
            destination = destination.getKey("/D");
        return destination;
    }

    QPDF pdf_;
    std::vector<QPDFObjectHandle> pages_;
    std::map<QPDFObjGen, int> pageIndex_;
    std::unique_ptr<QPDFNameTreeObjectHelper> nameTree_;
};

QPDFObjectHandle GoToDestination(QPDFObjectHandle item)
{
    if (item.hasKey("/Dest"))
        return item.getKey("/Dest");
    QPDFObjectHandle action = item.getKey("/A");
    if (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoTo"))
        return action.getKey("/D");
    return QPDFObjectHandle::newNull();
}

bool HasGoTo(QPDFObjectHandle item)
{
    return !GoToDestination(item).isNull();
}

struct Bookmark
{
    std::string title;
    int depth;
    int parent; // index, -1 on the top level
    int page;   // 0-based in its document, -1 for none
    std::string view;
};

// A destination without a view shows the whole page.
bool SameView(const std::string& output, const std::string& input)
{
    return output == input || (input.empty() && output == " /Fit");
}

// The outline in pre-order; an item met a second time ends its list (a loop).
std::vector<Bookmark> OutlineOf(Reading& reading)
{
    std::vector<Bookmark> bookmarks;
    QPDFObjectHandle outlines = reading.pdf().getRoot().getKey("/Outlines");
    if (!outlines.isDictionary())
        return bookmarks;
    std::set<QPDFObjGen> seen;
    struct Level
    {
        int parent;
        QPDFObjectHandle next;
    };
    std::vector<Level> path{{-1, outlines.getKey("/First")}};
    while (!path.empty()) {
        QPDFObjectHandle item = path.back().next;
        if (!item.isDictionary() || (item.isIndirect() && !seen.insert(item.getObjGen()).second)) {
            path.pop_back();
            continue;
        }
        path.back().next = item.getKey("/Next");
        QPDFObjectHandle title = item.getKey("/Title");
        bookmarks.push_back({title.isString() ? title.getUTF8Value() : std::string(),
                             static_cast<int>(path.size()), path.back().parent,
                             reading.pageOf(GoToDestination(item)),
                             reading.viewOf(GoToDestination(item))});
        path.push_back({static_cast<int>(bookmarks.size()) - 1, item.getKey("/First")});
    }
    return bookmarks;
}

int PositionIn(const TPlannedOutput& output, int page)
{
    const auto found = std::find(output.pages.begin(), output.pages.end(), page);
    return found == output.pages.end() ? -1 : static_cast<int>(found - output.pages.begin());
}

void Fault(TNavigationCheck& check, const std::string& text)
{
    if (check.faults.size() < 10)
        check.faults.push_back(text);
}

// Whether bookmark b comes before the section of `lead` and is none of its ancestors.
bool BeforeTheSection(const std::vector<Bookmark>& input, int b, int lead)
{
    if (lead < 0 || lead >= static_cast<int>(input.size()) || b >= lead)
        return false;
    for (int a = input[static_cast<std::size_t>(lead)].parent; a >= 0;
         a = input[static_cast<std::size_t>(a)].parent) {
        if (a == b)
            return false;
    }
    return true;
}

// Whether the output holds the page of its section's bookmark or of one of its descendants.
bool HoldsTheSection(const std::vector<Bookmark>& input, const TPlannedOutput& output)
{
    const auto lead = static_cast<std::size_t>(output.lead);
    if (output.lead < 0 || lead >= input.size())
        return false;
    for (std::size_t d = lead; d < input.size(); ++d) {
        if (d > lead && input[d].depth <= input[lead].depth)
            break;
        if (PositionIn(output, input[d].page) >= 0)
            return true;
    }
    return false;
}

// Which bookmarks the output should hold, with the page each leads to there: those whose
// page it holds, their ancestors leading where their first such descendant leads. A section
// of a bookmark split leaves out what precedes its own bookmark, when another output that
// holds the page keeps it.
std::vector<Bookmark> ExpectedOutline(const std::vector<Bookmark>& input,
                                      const std::vector<TPlannedOutput>& outputs, std::size_t self)
{
    const TPlannedOutput& output = outputs[self];
    const auto keptElsewhere = [&](int b) {
        for (std::size_t o = 0; o < outputs.size(); ++o) {
            if (o != self && PositionIn(outputs[o], input[static_cast<std::size_t>(b)].page) >= 0 &&
                !BeforeTheSection(input, b, outputs[o].lead))
                return true;
        }
        return false;
    };
    const bool leadHere = HoldsTheSection(input, output);
    std::vector<char> kept(input.size(), 0);
    for (std::size_t b = 0; b < input.size(); ++b) {
        if (PositionIn(output, input[b].page) < 0 ||
            (leadHere && BeforeTheSection(input, static_cast<int>(b), output.lead) &&
             keptElsewhere(static_cast<int>(b))))
            continue;
        for (int k = static_cast<int>(b); k >= 0 && !kept[static_cast<std::size_t>(k)];
             k = input[static_cast<std::size_t>(k)].parent)
            kept[static_cast<std::size_t>(k)] = 1;
    }
    std::vector<Bookmark> expected;
    for (std::size_t b = 0; b < input.size(); ++b) {
        if (!kept[b])
            continue;
        Bookmark bookmark = input[b];
        bookmark.page = -1;
        for (std::size_t d = b; d < input.size() && bookmark.page < 0; ++d) {
            if (kept[d]) {
                bookmark.page = PositionIn(output, input[d].page);
                bookmark.view = input[d].view;
            }
        }
        expected.push_back(bookmark);
    }
    return expected;
}

void CheckOutline(const std::vector<Bookmark>& input, const std::vector<TPlannedOutput>& outputs,
                  std::size_t self, Reading& output, TNavigationCheck& check)
{
    const TPlannedOutput& planned = outputs[self];
    std::multimap<std::tuple<std::string, int, int>, std::string> expected; // to the view
    for (const Bookmark& b : ExpectedOutline(input, outputs, self))
        expected.insert({{b.title, b.depth, b.page}, b.view});
    check.bookmarksExpected += static_cast<int>(expected.size());
    for (const Bookmark& b : OutlineOf(output)) {
        auto found = expected.find({b.title, b.depth, b.page});
        while (found != expected.end() && found->first == std::tuple(b.title, b.depth, b.page) &&
               !SameView(b.view, found->second))
            ++found;
        if (found == expected.end() || found->first != std::tuple(b.title, b.depth, b.page)) {
            ++check.strayBookmarks;
            Fault(check, "stray bookmark \"" + b.title + "\" in " + planned.path.toStdString());
            continue;
        }
        expected.erase(found);
        ++check.bookmarksKept;
    }
}

// The sibling file and page a remote link names, if it names one.
std::optional<std::pair<QString, int>> RemoteTarget(QPDFObjectHandle annotation, const QString& folder)
{
    QPDFObjectHandle action = annotation.getKey("/A");
    if (!action.isDictionary() || !action.getKey("/S").isNameAndEquals("/GoToR"))
        return std::nullopt;
    QPDFObjectHandle file = action.getKey("/F");
    if (file.isDictionary())
        file = file.hasKey("/UF") ? file.getKey("/UF") : file.getKey("/F");
    QPDFObjectHandle destination = action.getKey("/D");
    if (!file.isString() || !destination.isArray() || destination.getArrayNItems() == 0 ||
        !destination.getArrayItem(0).isInteger())
        return std::nullopt;
    const QString path = QDir(folder).filePath(QString::fromStdString(file.getUTF8Value()));
    return std::pair{QFileInfo(path).absoluteFilePath(), destination.getArrayItem(0).getIntValueAsInt()};
}

void CheckLink(QPDFObjectHandle link, int target, const std::string& view, std::size_t self,
               const std::vector<TPlannedOutput>& outputs, Reading& output, TNavigationCheck& check)
{
    const TPlannedOutput& planned = outputs[self];
    const QString where = planned.path + QStringLiteral(" to input page %1").arg(target + 1);
    if (const int position = PositionIn(planned, target); position >= 0) {
        ++check.sameFileLinks;
        if (HasGoTo(link) && output.pageOf(GoToDestination(link)) == position &&
            SameView(output.viewOf(GoToDestination(link)), view)) {
            ++check.sameFileWorking;
        } else {
            ++check.deadLinks;
            Fault(check, "same-file link " + where.toStdString());
        }
        return;
    }
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        const int position = o == self ? -1 : PositionIn(outputs[o], target);
        if (position < 0)
            continue;
        ++check.crossFileLinks;
        const auto remote = RemoteTarget(link, QFileInfo(planned.path).path());
        if (remote && remote->first == QFileInfo(outputs[o].path).absoluteFilePath() &&
            remote->second == position && QFileInfo::exists(outputs[o].path) &&
            SameView(Reading::ViewText(link.getKey("/A").getKey("/D")), view)) {
            ++check.crossFileWorking;
        } else {
            ++check.deadLinks;
            Fault(check, "cross-file link " + where.toStdString());
        }
        return;
    }
    ++check.linksToNowhere;
    QPDFObjectHandle action = link.getKey("/A");
    if (HasGoTo(link) || (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoToR"))) {
        ++check.deadLinks;
        Fault(check, "link to a page in no output " + where.toStdString());
    }
}

void CheckLinks(Reading& input, const std::vector<TPlannedOutput>& outputs, std::size_t self,
                Reading& output, TNavigationCheck& check)
{
    const TPlannedOutput& planned = outputs[self];
    for (std::size_t i = 0; i < planned.pages.size(); ++i) {
        QPDFObjectHandle from = input.page(planned.pages[i]).getKey("/Annots");
        QPDFObjectHandle to = output.page(static_cast<int>(i)).getKey("/Annots");
        if (!from.isArray())
            continue;
        if (!to.isArray() || to.getArrayNItems() != from.getArrayNItems()) {
            Fault(check, "annotations lost on a page of " + planned.path.toStdString());
            continue;
        }
        for (int j = 0; j < from.getArrayNItems(); ++j) {
            QPDFObjectHandle annotation = from.getArrayItem(j);
            if (!annotation.isDictionary() || !HasGoTo(annotation))
                continue;
            const int target = input.pageOf(GoToDestination(annotation));
            CheckLink(to.getArrayItem(j), target, input.viewOf(GoToDestination(annotation)), self,
                      outputs, output, check);
        }
    }
}

} // namespace

TNavigationCheck CheckNavigation(const QString& input, const std::string& password,
                                 const std::vector<TPlannedOutput>& outputs)
{
    TNavigationCheck check;
    Reading source(input, password);
    const std::vector<Bookmark> bookmarks = OutlineOf(source);
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        Reading output(outputs[o].path, {});
        if (output.pageCount() != static_cast<int>(outputs[o].pages.size())) {
            Fault(check, "page count of " + outputs[o].path.toStdString());
            continue;
        }
        CheckOutline(bookmarks, outputs, o, output, check);
        CheckLinks(source, outputs, o, output, check);
    }
    return check;
}
