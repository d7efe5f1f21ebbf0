#pragma once

#include "shell/MessageBox.h"

// Shows the application's message boxes as modal, topmost Qt message boxes. Installed by the
// window front end at start-up.
MessageBoxButton ShowWidgetMessageBox(const MessageBoxRequest& request);
void InstallWidgetMessageBox();
