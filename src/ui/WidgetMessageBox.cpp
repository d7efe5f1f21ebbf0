#include "ui/WidgetMessageBox.h"

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

} // namespace

MessageBoxButton ShowWidgetMessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(IconFor(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
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
