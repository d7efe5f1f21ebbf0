#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the open password of a protected document.
class TfrmPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* mainWindow = nullptr);

    QString Password() const;

protected:
    // The window sees key presses before its controls do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void edtPasswordChange();
    // True when the key was handled here.
    bool FormKeyDown(const QKeyEvent& key);

    QLabel* lblTitle;
    QLineEdit* edtPassword;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Shows the password dialog modally over the main window. True with the typed text in
// `password` when it was closed with OK; otherwise false and `password` is left as it was.
bool AskDocumentPassword(QString& password, QWidget* mainWindow = nullptr);
