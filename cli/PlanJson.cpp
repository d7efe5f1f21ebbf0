#include "PlanJson.h"

#include "split/TavloConvert.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>

#include <vector>

namespace {

struct TPlannedOutput
{
    QString Name;
    QJsonArray Pages; // input pages, in the order the run copies them
};

} // namespace

QJsonObject PlanJson(const TTavloConvert& plan, const QString& input)
{
    std::vector<TPlannedOutput> outputs;
    QHash<QString, std::size_t> indexOf;
    const TPageList& map = *plan.PageList();
    for (int i = 0; i < map.Count(); ++i) {
        const TConvPageInfo& entry = *map.Items(i);
        if (entry.IsPlaceholder())
            continue;
        const QString& file = entry.OutPage()->FileName();
        auto found = indexOf.constFind(file);
        if (found == indexOf.cend()) {
            found = indexOf.insert(file, outputs.size());
            outputs.push_back({QFileInfo(file).fileName(), {}});
        }
        outputs[*found].Pages.append(entry.InPage()->PageValue());
    }
    QJsonArray outputList;
    for (const TPlannedOutput& output : outputs)
        outputList.append(QJsonObject{{QStringLiteral("name"), output.Name}, {QStringLiteral("pages"), output.Pages}});
    return QJsonObject{
        {QStringLiteral("input"), QDir::toNativeSeparators(QFileInfo(input).absoluteFilePath())},
        {QStringLiteral("folder"), QDir::toNativeSeparators(QDir::cleanPath(plan.OutFolder()))},
        {QStringLiteral("outputs"), outputList},
    };
}
