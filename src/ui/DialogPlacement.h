#pragma once

class QWidget;

// Centres a dialog on the main window when the main window is the active window, else on the
// screen (the main window's screen when there is one).
void PlaceDialog(QWidget& dialog, QWidget* mainWindow);
