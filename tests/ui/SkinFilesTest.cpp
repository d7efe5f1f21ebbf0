#include "ui/SkinFiles.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Share of pixels that are not fully transparent.
double CoveredShare(const QImage& image)
{
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return double(covered) / (image.width() * image.height());
}

TEST(SkinFilesTest, EveryPictureIsBuiltBesideTheProgramAtItsSize)
{
    EXPECT_EQ(SkinFolder(), ApplicationFolder() + QStringLiteral("Skin/Default/"));
    QSet<QString> names;
    for (const TSkinPicture& picture : SkinFiles::All) {
        SCOPED_TRACE(picture.name);
        names.insert(QString::fromLatin1(picture.name));
        EXPECT_EQ(SkinFile(picture), SkinFolder() + QString::fromLatin1(picture.name));
        const QPixmap loaded = LoadSkinPicture(picture);
        ASSERT_FALSE(loaded.isNull());
        EXPECT_EQ(loaded.size(), picture.size);
        // Something is drawn, and more than a stray line.
        EXPECT_GT(CoveredShare(loaded.toImage()), 0.2);
    }
    EXPECT_EQ(names.size(), qsizetype(std::size(SkinFiles::All))) << "no two pictures share a file";
    EXPECT_EQ(SkinFiles::About.size, QSize(423, 241));
    EXPECT_EQ(SkinFiles::FileImage.size, QSize(85, 93));
    EXPECT_EQ(SkinFiles::Lock.size, QSize(17, 19));
}

TEST(SkinFilesTest, TheFacesOfAButtonDifferFromStateToStateAndFromTheOtherButton)
{
    const TSkinPicture faces[] = {SkinFiles::ConvertNormal,  SkinFiles::ConvertHover,
                                  SkinFiles::ConvertPressed, SkinFiles::ConvertDisabled,
                                  SkinFiles::CancelNormal,   SkinFiles::CancelHover,
                                  SkinFiles::CancelPressed,  SkinFiles::CancelDisabled};
    for (std::size_t i = 0; i < std::size(faces); ++i) {
        EXPECT_EQ(faces[i].size, QSize(127, 53)) << faces[i].name;
        for (std::size_t j = i + 1; j < std::size(faces); ++j)
            EXPECT_NE(LoadSkinPicture(faces[i]).toImage(), LoadSkinPicture(faces[j]).toImage())
                << faces[i].name << " / " << faces[j].name;
    }
}

TEST(SkinFilesTest, AButtonWithASkinStateShowsThatStatesFaces)
{
    const struct
    {
        const char* state;
        TSkinPicture normal;
        TSkinPicture disabled;
        TSkinPicture pressed;
    } cases[] = {
        {"btnConvert", SkinFiles::ConvertNormal, SkinFiles::ConvertDisabled,
         SkinFiles::ConvertPressed},
        {"btnCancel", SkinFiles::CancelNormal, SkinFiles::CancelDisabled, SkinFiles::CancelPressed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        QPushButton button;
        button.setFixedSize(127, 53);
        button.setStyleSheet(PictureButtonStyleSheet(QString::fromLatin1(c.state)));
        // Compared in the middle of the face, away from the antialiased corners.
        const auto sameMiddle = [&button](const TSkinPicture& face) {
            const QImage shown = button.grab().toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage expected =
                LoadSkinPicture(face).toImage().convertToFormat(QImage::Format_ARGB32);
            for (const QPoint spot :
                 {QPoint(20, 26), QPoint(63, 10), QPoint(63, 26), QPoint(110, 40)}) {
                if (shown.pixelColor(spot) != expected.pixelColor(spot))
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(sameMiddle(c.normal));
        button.setDown(true);
        EXPECT_TRUE(sameMiddle(c.pressed));
        button.setDown(false);
        button.setEnabled(false);
        EXPECT_TRUE(sameMiddle(c.disabled));
    }
    EXPECT_TRUE(PictureButtonStyleSheet(QStringLiteral("btnNoSuchState")).isEmpty());
    EXPECT_TRUE(PictureButtonStyleSheet(QStringLiteral("btnconvert")).isEmpty());
}

TEST(SkinFilesTest, TheAboutPictureComesFromTheConfiguredSkinWhenItHasOne)
{
    TProductConfig& config = ProductConfig();
    const QString kept = config.SkinSubfolder;
    const QString subfolder = QStringLiteral("skin-under-test") + QDir::separator();
    const QString configured = ApplicationFolder() + subfolder + QStringLiteral("About.png");
    QDir(ApplicationFolder() + subfolder).removeRecursively();

    const struct
    {
        const char* name;
        QString subfolder;
        bool fileThere;
        QString expected;
    } cases[] = {
        {"no skin configured", QString(), false, SkinFile(SkinFiles::About)},
        {"configured skin without the picture", subfolder, false, SkinFile(SkinFiles::About)},
        {"configured skin with the picture", subfolder, true, configured},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileThere) {
            ASSERT_TRUE(QDir().mkpath(ApplicationFolder() + subfolder));
            ASSERT_TRUE(QFile::copy(SkinFile(SkinFiles::About), configured));
        }
        config.SkinSubfolder = c.subfolder;
        EXPECT_EQ(AboutPictureFile(), c.expected);
    }
    config.SkinSubfolder = kept;
    QDir(ApplicationFolder() + subfolder).removeRecursively();
}

} // namespace
