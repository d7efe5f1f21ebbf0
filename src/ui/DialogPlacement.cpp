#include "ui/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void PlaceDialog(QWidget& dialog, QWidget* mainWindow)
{
    if (mainWindow && mainWindow->window()->isActiveWindow()) {
        dialog.move(mainWindow->window()->geometry().center() - dialog.rect().center());
        return;
    }
    QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}
