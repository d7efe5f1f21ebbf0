#include "shell/MessageBox.h"

#include "shell/ApplicationTitle.h"

#include <QDebug>

namespace {

MessageBoxHandler& InstalledHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

QList<MessageBoxButton> ButtonsFor(int code)
{
    switch (code) {
    case MessageBoxButtons::OkCancel:
        return {MessageBoxButton::Ok, MessageBoxButton::Cancel};
    case MessageBoxButtons::YesNo:
        return {MessageBoxButton::Yes, MessageBoxButton::No};
    case MessageBoxButtons::YesNoCancel:
        return {MessageBoxButton::Yes, MessageBoxButton::No, MessageBoxButton::Cancel};
    default:
        return {MessageBoxButton::Ok};
    }
}

MessageBoxIcon IconFor(int code)
{
    switch (code) {
    case MessageBoxIcons::Question:
        return MessageBoxIcon::Question;
    case MessageBoxIcons::Stop:
        return MessageBoxIcon::Stop;
    case MessageBoxIcons::Exclamation:
        return MessageBoxIcon::Exclamation;
    default:
        return MessageBoxIcon::Information;
    }
}

MessageBoxButton DefaultFor(const QList<MessageBoxButton>& buttons, int code)
{
    const qsizetype index = (code >= 2 && code <= 4) ? code - 1 : 0;
    return index < buttons.size() ? buttons[index] : buttons.first();
}

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    InstalledHandler() = std::move(handler);
}

MessageBoxRequest MakeMessageBoxRequest(const QString& text, int buttons, int icon,
                                        int defaultButton)
{
    MessageBoxRequest request;
    request.caption = ApplicationTitle();
    request.text = text;
    request.buttons = ButtonsFor(buttons);
    request.icon = IconFor(icon);
    request.defaultButton = DefaultFor(request.buttons, defaultButton);
    return request;
}

int ShowMessageBox(const QString& text, int buttons, int icon, int defaultButton)
{
    return ShowMessageBoxRequest(MakeMessageBoxRequest(text, buttons, icon, defaultButton));
}

int ShowMessageBoxRequest(const MessageBoxRequest& request)
{
    if (const MessageBoxHandler& handler = InstalledHandler())
        return static_cast<int>(handler(request));
    qWarning().noquote() << request.caption << ":" << request.text;
    return static_cast<int>(request.defaultButton);
}
