#include "ui/WidgetMessageBox.h"

#include "ui/MainWindowService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton StandardButtonFor(MessageBoxButton button)
{
    switch (button) {
    case MessageBoxButton::Ok:
        return QMessageBox::Ok;
    case MessageBoxButton::Cancel:
        return QMessageBox::Cancel;
    case MessageBoxButton::Yes:
        return QMessageBox::Yes;
    case MessageBoxButton::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconFor(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::Question:
        return QMessageBox::Question;
    case MessageBoxIcon::Stop:
        return QMessageBox::Critical;
    case MessageBoxIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

// Closing the box with Esc or the title bar answers Cancel where there is one, else the
// single OK or No.
MessageBoxButton EscapeAnswer(const QList<MessageBoxButton>& buttons)
{
    if (buttons.contains(MessageBoxButton::Cancel))
        return MessageBoxButton::Cancel;
    if (buttons.contains(MessageBoxButton::No))
        return MessageBoxButton::No;
    return buttons.first();
}

// Boxes belong to the main window once it is up, also while no window is active (at start-up,
// or without a window manager), so that they are never left behind it.
QWidget* BoxOwner()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (dynamic_cast<IMainWindowService*>(window) && window->isVisible())
            return window;
    }
    return QApplication::activeWindow();
}

} // namespace

MessageBoxButton ShowWidgetMessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(IconFor(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    BoxOwner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    box.setLayoutDirection(QApplication::layoutDirection());
    QList<QPair<QAbstractButton*, MessageBoxButton>> shown;
    for (const MessageBoxButton button : request.buttons) {
        QPushButton* pushButton = box.addButton(StandardButtonFor(button));
        shown.append({pushButton, button});
        if (button == request.defaultButton)
            box.setDefaultButton(pushButton);
        if (button == EscapeAnswer(request.buttons))
            box.setEscapeButton(pushButton);
    }
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    for (const auto& [pushButton, button] : shown) {
        if (box.clickedButton() == pushButton)
            return button;
    }
    return EscapeAnswer(request.buttons);
}

void InstallWidgetMessageBox()
{
    SetMessageBoxHandler(ShowWidgetMessageBox);
}
