#include "shell/DroppedFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CollectDroppedPdfFiles, KeepsOnlyPdfPathsInOrderWithDuplicates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("a.PDF"));
    const QString txt = dir.filePath(QStringLiteral("b.txt"));
    const QString folder = dir.filePath(QStringLiteral("docs"));
    QDir().mkpath(folder);

    QStringList files{QStringLiteral("stale entry")};
    CollectDroppedPdfFiles(QStringList{pdf, txt, folder}, files);
    EXPECT_EQ(files, QStringList{pdf});

    const QString second = dir.filePath(QStringLiteral("Größe.pdf"));
    CollectDroppedPdfFiles(QStringList{second, pdf, second, dir.filePath(QStringLiteral("x.pdf.bak")),
                                       dir.filePath(QStringLiteral("pdf"))},
                           files);
    EXPECT_EQ(files, (QStringList{second, pdf, second}));
}

TEST(CollectDroppedPdfFiles, TakesLocalUrlsOnly)
{
    QStringList files;
    CollectDroppedPdfFiles(QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a b.pdf")),
                                       QUrl(QStringLiteral("https://example.org/c.pdf")),
                                       QUrl::fromLocalFile(QStringLiteral("/tmp/d.doc"))},
                           files);
    EXPECT_EQ(files, QStringList{QStringLiteral("/tmp/a b.pdf")});
}

TEST(CollectDroppedPdfFiles, PassesOverPathsTooLongToNameAFile)
{
    const QString longPath = QStringLiteral("/tmp/") + QString(kMaxDroppedPathLength, u'x') + QStringLiteral(".pdf");
    const QString limitPath = QStringLiteral("/") + QString(kMaxDroppedPathLength - 5, u'y') + QStringLiteral(".pdf");
    ASSERT_EQ(limitPath.size(), kMaxDroppedPathLength);
    QStringList files;
    CollectDroppedPdfFiles(QStringList{longPath, limitPath}, files);
    EXPECT_EQ(files, QStringList{limitPath});
}

} // namespace
