#include "RunPageMap.h"

#include "FileIdentifier.h"
#include "WideText.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

RunPageMap::RunPageMap(const TPageMap& map, int pageCount)
    : placements_(static_cast<std::size_t>(std::max(pageCount, 0)))
{
    for (std::int32_t o = 0; o < map.OutputCount && map.Outputs != nullptr; ++o) {
        const TPageMapOutput& output = map.Outputs[o];
        const int number = static_cast<int>(outputs_.size());
        outputs_.push_back(FromWide(output.FileName));
        const QFileInfo file(outputs_.back());
        folders_.push_back(file.path());
        fileNames_.push_back(file.fileName());
        leadBookmarks_.push_back(std::max(output.LeadBookmark, 0));
        outputByPath_.insert(outputs_.back(), number);
        std::vector<int>& pages = pages_.emplace_back();
        for (std::int32_t i = 0; i < output.PageCount && output.Pages != nullptr; ++i) {
            const int page = output.Pages[i] - 1;
            pages.push_back(page); // a page the input lacks is told when the run reaches it
            if (page >= 0 && page < pageCount)
                placements_[static_cast<std::size_t>(page)].push_back({number, i});
        }
    }
    digest_ = FileIdentifierOf(recipe());
}

std::string RunPageMap::recipe() const
{
    std::string recipe;
    QHash<QString, QString> relativeFolders;
    for (std::size_t o = 0; o < outputs_.size(); ++o) {
        auto folder = relativeFolders.find(folders_[o]);
        if (folder == relativeFolders.end())
            folder = relativeFolders.insert(folders_[o],
                                            QDir(folders_.front()).relativeFilePath(folders_[o]));
        AppendToRecipe(recipe, *folder);
        AppendToRecipe(recipe, fileNames_[o]);
        recipe += std::to_string(leadBookmarks_[o]) + ':';
        for (int page : pages_[o])
            recipe += std::to_string(page) + ',';
        recipe += '\n';
    }
    return recipe;
}

const QString& RunPageMap::folderOf(int output) const
{
    return folders_.at(static_cast<std::size_t>(output));
}

const QString& RunPageMap::fileNameOf(int output) const
{
    return fileNames_.at(static_cast<std::size_t>(output));
}

int RunPageMap::outputOf(const QString& path) const
{
    return outputByPath_.value(path, -1);
}

int RunPageMap::leadBookmark(int output) const
{
    if (output < 0 || output >= outputCount())
        return 0;
    return leadBookmarks_[static_cast<std::size_t>(output)];
}

const std::vector<RunPageMap::Placement>& RunPageMap::placementsOf(int page) const
{
    static const std::vector<Placement> nowhere;
    if (page < 0 || page >= static_cast<int>(placements_.size()))
        return nowhere;
    return placements_[static_cast<std::size_t>(page)];
}

std::optional<RunPageMap::Placement> RunPageMap::placementElsewhere(int page, int except) const
{
    for (const Placement& placement : placementsOf(page)) {
        if (placement.output != except)
            return placement;
    }
    return std::nullopt;
}
