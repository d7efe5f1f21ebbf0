#include "ui/Application.h"

#include "shell/MessageBox.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error."));
    }
    return false;
}

void TApplication::ShowException(const QString& text)
{
    ShowMessageBox(text, MessageBoxButtons::Ok, MessageBoxIcons::Stop);
}
