#include "ui/DialogPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

TEST(DialogPlacementTest, CentresOnTheActiveMainWindowElseOnTheScreen)
{
    QWidget mainWindow;
    mainWindow.setGeometry(40, 30, 544, 603);
    mainWindow.show();
    QWidget other;
    other.setGeometry(700, 500, 100, 100);
    other.show();
    const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
    const struct
    {
        const char* name;
        QWidget* active;
        QWidget* mainWindow;
        QPoint centre;
    } cases[] = {
        {"main window active", &mainWindow, &mainWindow, mainWindow.geometry().center()},
        {"another window active", &other, &mainWindow, screenCentre},
        {"no main window", &mainWindow, nullptr, screenCentre},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QApplication::setActiveWindow(c.active);
        ASSERT_EQ(QApplication::activeWindow(), c.active);
        QDialog dialog(c.mainWindow);
        dialog.setFixedSize(446, 403);
        PlaceDialog(dialog, c.mainWindow);
        EXPECT_LE((dialog.geometry().center() - c.centre).manhattanLength(), 1);
    }
}

} // namespace
