#pragma once

#include "engine/DocEngine.h"

#include <QString>

#include <optional>
#include <string>
#include <QHash>
#include <vector>

// Where the pages of one input go in a run (kControlPageMap): the outputs that take its pages
// and, for each, the input pages (0-based) in the output's order. An output looks up its own
// pages here and finds the sibling that holds a page it does not.
class RunPageMap
{
public:
    // A page's place: output number in the map and page number in that output (both 0-based).
    struct Placement
    {
        int output = -1;
        int position = -1;
    };

    // Copies the program's record; entries outside 1..pageCount are ignored.
    RunPageMap(const TPageMap& map, int pageCount);

    int outputCount() const { return static_cast<int>(outputs_.size()); }
    const QString& outputPath(int output) const { return outputs_.at(static_cast<std::size_t>(output)); }
    // The output's folder and its file's name in it, as QFileInfo gives them.
    const QString& folderOf(int output) const;
    const QString& fileNameOf(int output) const;
    // The output of the map written to this path; -1 when the run does not name it.
    int outputOf(const QString& path) const;
    // The outline handle of the bookmark whose section the output is; 0 for none.
    int leadBookmark(int output) const;
    // The input pages (0-based) the output takes, in its order.
    const std::vector<int>& pagesOf(int output) const { return pages_.at(static_cast<std::size_t>(output)); }

    // The first output in map order that holds the page, other than `except`.
    std::optional<Placement> placementElsewhere(int page, int except) const;
    // Every place the input page (0-based) goes to, in output order.
    const std::vector<Placement>& placementsOf(int page) const;

    // 16 bytes naming what the outputs' navigation follows from: every output's file name,
    // pages and lead bookmark, and where the folders lie relative to the first output's (not
    // where the run writes). A part of each output's file identifier (FileIdentifier.h).
    const std::string& digest() const { return digest_; }

private:
    std::string recipe() const;

    std::vector<QString> outputs_;
    // Worked out once: every link to a sibling names it relative to the linking output.
    std::vector<QString> folders_;
    std::vector<QString> fileNames_;
    std::vector<int> leadBookmarks_;
    std::vector<std::vector<int>> pages_;
    // Per input page: every place it goes to, in map order.
    std::vector<std::vector<Placement>> placements_;
    QHash<QString, int> outputByPath_;
    std::string digest_;
};
