#pragma once

#include <QApplication>

// The program's application object. An exception that escapes an event handler is shown to
// the user (its trace is already in the run log) and the program keeps running.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void ShowException(const QString& text);
};
