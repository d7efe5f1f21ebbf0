// Reads a split's outputs back and tells how much of the input's navigation they kept: the
// bookmarks, and the links that land on the right page of the right file. The plan comes
// from `tavlo-split --dry-run` on standard input; the outputs are in FOLDER.
//
// Usage: tavlo-split --dry-run ... INPUT.pdf | NavigationFigures INPUT.pdf FOLDER [PASSWORD]

#include "engine/NavigationCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace {

std::vector<TPlannedOutput> ReadPlan(const QString& folder)
{
    static const QRegularExpression line(
        QStringLiteral(R"(\[In:File\d+\s+Page(\d+)\s*\].*OutFile:\s+(.*?)\]\s*$)"));
    std::vector<TPlannedOutput> outputs;
    QTextStream in(stdin);
    while (!in.atEnd()) {
        const QRegularExpressionMatch match = line.match(in.readLine());
        if (!match.hasMatch())
            continue;
        const QString path = QDir(folder).filePath(match.captured(2));
        if (outputs.empty() || outputs.back().path != path)
            outputs.push_back({path, {}});
        outputs.back().pages.push_back(match.captured(1).toInt() - 1);
    }
    return outputs;
}

double Share(int part, int whole)
{
    return whole == 0 ? 100.0 : 100.0 * part / whole;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fprintf(stderr, "usage: NavigationFigures INPUT.pdf FOLDER [PASSWORD] < plan\n");
        return 1;
    }
    const std::string password = arguments.size() == 4 ? arguments[3].toStdString() : std::string();
    const TNavigationCheck c = CheckNavigation(arguments[1], password, ReadPlan(arguments[2]));
    std::printf("bookmarks kept %d/%d (%.1f%%), stray %d\n", c.bookmarksKept, c.bookmarksExpected,
                Share(c.bookmarksKept, c.bookmarksExpected), c.strayBookmarks);
    std::printf("same-file links working %d/%d (%.1f%%)\n", c.sameFileWorking, c.sameFileLinks,
                Share(c.sameFileWorking, c.sameFileLinks));
    std::printf("cross-file links working %d/%d (%.1f%%)\n", c.crossFileWorking, c.crossFileLinks,
                Share(c.crossFileWorking, c.crossFileLinks));
    std::printf("links to pages in no output %d; dead links %d\n", c.linksToNowhere, c.deadLinks);
    for (const std::string& fault : c.faults)
        std::printf("  %s\n", fault.c_str());
    return 0;
}
