#include "CorpusManifest.h"

#include "EngineTestSupport.h"

#include <QFile>
#include <QStringList>

namespace {

QMap<QString, QString> ParseNotes(const QString& notes)
{
    QMap<QString, QString> items;
    for (const QString& item : notes.split(QStringLiteral("; "))) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals > 0)
            items.insert(item.left(equals), item.mid(equals + 1));
    }
    return items;
}

} // namespace

std::vector<CorpusEntry> ReadCorpusManifest()
{
    std::vector<CorpusEntry> entries;
    QFile file(CorpusFile(QStringLiteral("manifest.tsv")));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return entries;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList columns = lines[i].split(QLatin1Char('\t'));
        if (columns.size() < 8)
            continue;
        CorpusEntry entry;
        entry.file = columns[0];
        entry.pages = columns[1].toInt();
        entry.outlineDepth = columns[2].toInt();
        entry.outlineTopCount = columns[3].toInt();
        entry.encryption = columns[4];
        entry.password = columns[5];
        entry.notes = ParseNotes(columns[7]);
        entries.push_back(entry);
    }
    return entries;
}
