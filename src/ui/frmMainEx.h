#pragma once

#include <QLabel>
#include <QWidget>

// The main window. Until its controls are built it is a plain window that carries the
// product title, so that a second instance finds it and the language files can name it.
class TfrmMainEx : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMainEx(QWidget* parent = nullptr);

    // The document path given on the command line, added once the window is shown.
    void SetStartDocument(const QString& path) { FStartDocument = path; }

    // Brings the window to the front when its title is the given one.
    bool ActivateIfTitled(const QString& title);

private:
    QLabel* lblPlaceholder;
    QString FStartDocument;
};

// An empty white auxiliary window, created hidden.
class TfrmShape : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmShape(QWidget* parent = nullptr);
};
