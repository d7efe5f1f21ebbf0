#include "ui/frmBalloon.h"
#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "shell/ProductConfig.h"
#include "ui/BalloonShape.h"
#include "ui/CustomizationLinks.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Waits until the window is the application's active one (a tool window's owner counts as
// active while the tool window is, so isActiveWindow() does not tell).
bool WaitUntilActive(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

void ProcessDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(BalloonShapeTest, TheTailRunsFromTheNearerEdgeToTheTipAndLeansToTheMiddle)
{
    const QRect body(QPoint(0, 20), QPoint(229, 99));
    const struct
    {
        QPoint tip;
        QPoint inside;
        QPoint outside;
        QRectF bounds;
    } cases[] = {
        // Tip above, in the left half: the leg on the edge runs right from the tip.
        {{16, 0}, {18, 17}, {13, 17}, {0, 0, 230, 100}},
        // Tip above, in the right half: the leg runs left from the tip.
        {{200, 0}, {198, 17}, {203, 17}, {0, 0, 230, 100}},
        // Tip below the body: the tail hangs from the bottom edge.
        {{16, 120}, {18, 103}, {13, 103}, {0, 20, 230, 100}},
    };
    for (const auto& c : cases) {
        const QPainterPath outline = BalloonOutline(c.tip, body);
        EXPECT_TRUE(outline.contains(QPointF(c.inside))) << c.tip.x() << "," << c.tip.y();
        EXPECT_FALSE(outline.contains(QPointF(c.outside))) << c.tip.x() << "," << c.tip.y();
        EXPECT_EQ(outline.boundingRect(), c.bounds) << c.tip.x() << "," << c.tip.y();
    }
}

TEST(BalloonShapeTest, ColoursFollowTheProduct)
{
    EXPECT_EQ(BalloonColors(417),
              (TBalloonColors{QColor(76, 114, 131), QColor(209, 230, 252), QColor(168, 213, 240)}));
    const TBalloonColors plain{QColor(160, 164, 168), Qt::white, Qt::white};
    EXPECT_EQ(BalloonColors(0), plain);
    EXPECT_EQ(BalloonColors(-1), plain);
    QSet<QRgb> outlines;
    for (int id = 411; id <= 416; ++id) {
        EXPECT_NE(BalloonColors(id), plain) << id;
        outlines.insert(BalloonColors(id).outline.rgb());
    }
    EXPECT_EQ(outlines.size(), 6);
}

class frmBalloonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FMainWindow.setGeometry(100, 100, 544, 603);
        FMainWindow.show();
        ASSERT_TRUE(WaitUntilActive(&FMainWindow));
    }
    void TearDown() override
    {
        ProductConfig().ShowPasswordBalloon = true;
        SetCustomizationLinkOpener({});
    }

    QPointer<TfrmBalloon> ShowActiveBalloon(const QPoint& tip)
    {
        QPointer<TfrmBalloon> balloon = ShowBalloon(tip, &FMainWindow);
        EXPECT_TRUE(WaitUntilActive(balloon));
        return balloon;
    }

    QWidget FMainWindow;
};

TEST_F(frmBalloonTest, TheTipTouchesThePointAndTheBodyHangsBelowIt)
{
    const QPoint lockIcon(467, 287);
    QPointer<TfrmBalloon> balloon = ShowActiveBalloon(lockIcon);
    ASSERT_TRUE(balloon);
    EXPECT_EQ(balloon->geometry(), QRect(lockIcon - QPoint(16, 0), QSize(240, 110)));
    EXPECT_EQ(balloon->mapToGlobal(TfrmBalloon::TipPoint), lockIcon);

    const QImage picture = balloon->grab().toImage();
    const QColor outline = BalloonColors(ProductConfig().ProductID).outline;
    EXPECT_EQ(picture.pixelColor(16, 0), outline);
    EXPECT_EQ(picture.pixelColor(100, 20), outline) << "the body's top edge";
    EXPECT_EQ(picture.pixelColor(100, 19).alpha(), 0) << "see-through above the body";
    EXPECT_EQ(picture.pixelColor(235, 60).alpha(), 0) << "see-through right of the body";
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
    EXPECT_TRUE(balloon->mask().contains(QPoint(16, 0)));
    EXPECT_FALSE(balloon->mask().contains(QPoint(100, 10)));
}

TEST_F(frmBalloonTest, ControlsAreLaidOutInsideTheBody)
{
    QPointer<TfrmBalloon> balloon = ShowActiveBalloon({300, 300});
    ASSERT_TRUE(balloon);
    auto* close = balloon->findChild<QToolButton*>(QStringLiteral("btnClose"));
    auto* info = balloon->findChild<QLabel*>(QStringLiteral("lblInfo"));
    auto* check = balloon->findChild<QCheckBox*>(QStringLiteral("cbxCheck"));
    auto* more = balloon->findChild<QLabel*>(QStringLiteral("lblMore"));
    EXPECT_EQ(close->geometry(), QRect(207, 23, 20, 19));
    EXPECT_TRUE(close->text().isEmpty());
    EXPECT_EQ(info->x(), 10);
    EXPECT_EQ(info->width(), 202);
    // Below the close button's top; lower still when the text leaves room.
    EXPECT_GE(info->y(), 23);
    EXPECT_LE(info->y(), 39);
    EXPECT_EQ(info->geometry().bottom() + 1, check->y());
    EXPECT_GE(info->height(), info->heightForWidth(info->width())) << "the text is not cut";
    EXPECT_EQ(check->x(), 10);
    EXPECT_EQ(check->geometry().bottom(), 94);
    EXPECT_LE(check->geometry().right(), more->geometry().left());
    EXPECT_TRUE(TfrmBalloon::BodyRect.contains(more->geometry()));
}

TEST_F(frmBalloonTest, ClosesWhenAnotherWindowIsActivatedOrItsButtonIsClicked)
{
    QPointer<TfrmBalloon> balloon = ShowActiveBalloon({300, 300});
    ASSERT_TRUE(balloon);
    ASSERT_TRUE(WaitUntilActive(&FMainWindow));
    ProcessDeferredDeletes();
    EXPECT_FALSE(balloon);

    balloon = ShowActiveBalloon({300, 300});
    ASSERT_TRUE(balloon);
    QTest::mouseClick(balloon->findChild<QToolButton*>(QStringLiteral("btnClose")), Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_FALSE(balloon);
}

TEST_F(frmBalloonTest, DontShowAgainSwitchesTheBalloonOffUntilUnticked)
{
    QPointer<TfrmBalloon> balloon = ShowActiveBalloon({300, 300});
    ASSERT_TRUE(balloon);
    auto* check = balloon->findChild<QCheckBox*>(QStringLiteral("cbxCheck"));
    ASSERT_TRUE(ProductConfig().ShowPasswordBalloon);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(ProductConfig().ShowPasswordBalloon);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(ProductConfig().ShowPasswordBalloon);
    EXPECT_TRUE(balloon) << "ticking does not close the balloon";
}

TEST_F(frmBalloonTest, TheMoreLinkOpensTheHelpOnProtectedFilesAndIsHiddenWithoutOne)
{
    // Without a customization file, the help page beside the language file is the target.
    ASSERT_TRUE(CustomizationValues().Values().C3.isEmpty());
    QStringList opened;
    SetCustomizationLinkOpener([&opened](const QString& address) {
        opened.append(address);
        return true;
    });
    for (const bool withHelp : {true, false}) {
        SCOPED_TRACE(withHelp);
        LanguageMgr().LoadLanguages(QString::fromLatin1(withHelp ? "Languages/*.dat" : "Languages/*.none"));
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
        QPointer<TfrmBalloon> balloon = ShowActiveBalloon({300, 300});
        ASSERT_TRUE(balloon);
        QLabel* more = balloon->findChild<QLabel*>(QStringLiteral("lblMore"));
        EXPECT_EQ(more->isVisible(), withHelp);
        if (withHelp)
            QTest::mouseClick(more, Qt::LeftButton);
        balloon->close();
    }
    SetCustomizationLinkOpener({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral("/Languages/English.html#password"))) << opened[0].toStdString();
}

} // namespace
