#pragma once

#include <QList>
#include <QString>

#include <functional>

// Button codes of ShowMessageBox; any other value gives OK alone.
namespace MessageBoxButtons {
constexpr int Ok = 0;
constexpr int OkCancel = 2;
constexpr int YesNo = 3;
constexpr int YesNoCancel = 4;
} // namespace MessageBoxButtons

// Icon codes of ShowMessageBox; any other value gives the information icon.
namespace MessageBoxIcons {
constexpr int Information = 0;
constexpr int Question = 2;
constexpr int Stop = 3;
constexpr int Exclamation = 4;
} // namespace MessageBoxIcons

// The answer of a message box: the standard identifier of the pressed button.
enum class MessageBoxButton : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class MessageBoxIcon { Information, Question, Stop, Exclamation };

// One box as the front end has to show it: always topmost, modal over the application.
struct MessageBoxRequest
{
    QString caption;
    QString text;
    QList<MessageBoxButton> buttons;
    MessageBoxIcon icon = MessageBoxIcon::Information;
    MessageBoxButton defaultButton = MessageBoxButton::Ok;
};

// The front end (window, command line, test) installs the handler that shows the box and
// returns the pressed button. Without a handler the box is written to the diagnostic output
// and answered with its default button.
using MessageBoxHandler = std::function<MessageBoxButton(const MessageBoxRequest&)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

// Decodes the codes into the box to show; captioned with the application title.
MessageBoxRequest MakeMessageBoxRequest(const QString& text, int buttons, int icon,
                                        int defaultButton);

// The application's one message box. The default-button code 2, 3 or 4 makes the second,
// third or fourth button the default (where there is one), any other value the first.
// Returns the identifier of the pressed button (1 OK, 2 Cancel, 6 Yes, 7 No).
int ShowMessageBox(const QString& text, int buttons = MessageBoxButtons::Ok,
                   int icon = MessageBoxIcons::Information, int defaultButton = 0);

// Shows a box made by the caller, for the few boxes that carry a caption of their own.
// Returns the identifier of the pressed button as ShowMessageBox does.
int ShowMessageBoxRequest(const MessageBoxRequest& request);
