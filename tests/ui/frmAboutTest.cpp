#include "ui/frmAbout.h"
#include "shell/ApplicationTitle.h"
#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/VersionInfo.h"
#include "ui/CustomizationLinks.h"
#include "ui/SkinFiles.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QLabel* Label(QWidget& box, const char* name)
{
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

// Acts on the about box once it is shown modally; gives up (and closes it) after a while so
// that a box the action failed to close does not hang the test.
void WhenAboutBoxShows(std::function<void(TfrmAbout&)> act)
{
    auto* timer = new QTimer;
    auto* giveUp = new QTimer(timer);
    giveUp->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, giveUp, act] {
        auto* box = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        act(*box);
        if (box->isVisible()) {
            QPointer<TfrmAbout> stillOpen(box);
            QObject::connect(giveUp, &QTimer::timeout, timer, [stillOpen, timer] {
                if (stillOpen)
                    stillOpen->done(-1);
                timer->deleteLater();
            });
            giveUp->start(300);
        } else {
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Loads a customization file that names a home page, or none at all.
void LoadCustomization(const QTemporaryDir& folder, const char* homePage)
{
    const QString path = folder.filePath(QStringLiteral("Customization.xml"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray("<Customization><Value key=\"HomePage\">") + homePage +
               "</Value></Customization>");
    file.close();
    CustomizationValues().Load(ApplicationFolder(), path, QStringLiteral("ENG"));
}

class frmAboutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadCustomization(FFolder, "https://example.org/");
        SetCustomizationLinkOpener([this](const QString& address) {
            FOpened.append(address);
            return true;
        });
    }
    void TearDown() override
    {
        SetCustomizationLinkOpener({});
        CustomizationValues().Load(ApplicationFolder(), FFolder.filePath(QStringLiteral("none")),
                                   QStringLiteral("ENG"));
    }

    QTemporaryDir FFolder;
    QStringList FOpened;
};

TEST_F(frmAboutTest, ShowsTheVersionAfterTwoBlanksAndTheProductName)
{
    SetApplicationTitle(QStringLiteral("Orvane Split Test"));
    TfrmAbout box;
    const QString version = ShortFileVersion(QCoreApplication::applicationFilePath());
    ASSERT_EQ(version.size(), 5);
    EXPECT_EQ(Label(box, "lblVer")->text(), QStringLiteral("Version:  ") + version);
    EXPECT_EQ(Label(box, "lblProduct")->text(), QStringLiteral("Orvane Split Test"));
    EXPECT_EQ(Label(box, "lblURL")->text(), QStringLiteral("Visit the homepage of this product."));
    EXPECT_EQ(Label(box, "lblURL")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(frmAboutTest, WithoutAHomePageTheLinkIsNotShown)
{
    LoadCustomization(FFolder, " ");
    TfrmAbout box;
    box.show();
    EXPECT_FALSE(Label(box, "lblURL")->isVisible());
}

TEST_F(frmAboutTest, IsABorderlessPictureCentredOnTheMainWindow)
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 544, 603);
    TfrmAbout box(&mainWindow);
    EXPECT_EQ(box.size(), QSize(423, 241));
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_LE((box.geometry().center() - mainWindow.geometry().center()).manhattanLength(), 1);

    // A spot that no label covers shows the skin picture.
    const QImage picture = LoadSkinPicture(SkinFiles::About).toImage();
    ASSERT_FALSE(picture.isNull());
    const QImage shown = box.grab().toImage();
    for (const QPoint spot : {QPoint(5, 120), QPoint(300, 60), QPoint(410, 230)})
        EXPECT_EQ(shown.pixelColor(spot), picture.pixelColor(spot)) << spot.x() << "," << spot.y();
}

TEST_F(frmAboutTest, ClosesOnEscOrAClickOutsideTheLinkAndTheLinkOpensTheHomePage)
{
    const struct
    {
        const char* name;
        std::function<void(TfrmAbout&)> act;
        bool closes;
        int opened;
    } cases[] = {
        {"Esc", [](TfrmAbout& b) { QTest::keyClick(&b, Qt::Key_Escape); }, true, 0},
        {"click on the picture",
         [](TfrmAbout& b) { QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(300, 120)); }, true,
         0},
        {"click on the version",
         [](TfrmAbout& b) { QTest::mouseClick(Label(b, "lblVer"), Qt::LeftButton); }, true, 0},
        {"click on the product name",
         [](TfrmAbout& b) { QTest::mouseClick(Label(b, "lblProduct"), Qt::LeftButton); }, true, 0},
        {"click beside the link",
         [](TfrmAbout& b) {
             QLabel* link = Label(b, "lblURL");
             QTest::mouseClick(&b, Qt::LeftButton, {}, link->geometry().topRight() + QPoint(12, 4));
         },
         true, 0},
        {"click on the link",
         [](TfrmAbout& b) { QTest::mouseClick(Label(b, "lblURL"), Qt::LeftButton); }, false, 1},
        {"pressed on the link, let go outside it",
         [](TfrmAbout& b) {
             QLabel* link = Label(b, "lblURL");
             QTest::mousePress(link, Qt::LeftButton);
             QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 20, -30));
         },
         false, 0},
        {"right click on the link",
         [](TfrmAbout& b) { QTest::mouseClick(Label(b, "lblURL"), Qt::RightButton); }, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FOpened.clear();
        bool closedByAct = false;
        WhenAboutBoxShows([&c, &closedByAct](TfrmAbout& box) {
            c.act(box);
            closedByAct = !box.isVisible();
        });
        QWidget mainWindow;
        ShowAboutBox(&mainWindow);
        EXPECT_EQ(closedByAct, c.closes);
        EXPECT_EQ(FOpened.size(), c.opened);
        for (const QString& address : FOpened)
            EXPECT_EQ(address, CustomizationValues().Values().HomePage);
    }
}

class frmAboutLanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
        ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("DEU")));
    }
    void TearDown() override { LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none")); }
};

TEST_F(frmAboutLanguageTest, CaptionsComeFromTheCurrentLanguageAndTheVersionFollows)
{
    TfrmAbout box;
    EXPECT_EQ(Label(box, "lblURL")->text(),
              QStringLiteral("Besuchen Sie die Homepage dieses Produkts."));
    EXPECT_TRUE(Label(box, "lblVer")->text().startsWith(QStringLiteral("Version:  ")));
    EXPECT_TRUE(Label(box, "lblVer")
                    ->text()
                    .endsWith(ShortFileVersion(QCoreApplication::applicationFilePath())));
    // The link stays as wide as its text, so a click beside it still closes the box.
    EXPECT_EQ(Label(box, "lblURL")->width(), Label(box, "lblURL")->sizeHint().width());
}

} // namespace
