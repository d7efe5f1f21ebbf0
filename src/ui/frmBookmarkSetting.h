#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class TFileInfo;
class TTavloConvert;
class TTavloProj;

// The bookmark split's level and its two options, with the document's whole outline shown so
// that the user sees what the levels are. Changes the job only on OK.
class TfrmBookmarkSetting : public QDialog
{
    Q_OBJECT
public:
    TfrmBookmarkSetting(TTavloProj& project, TTavloConvert& planner, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void SkinFormCreate();
    void SkinFormShow();
    void btnOKClick();
    // True when the key is discarded.
    bool cbxLevelKeyDown(const QKeyEvent& key) const;

    TFileInfo* Document() const;

    TTavloProj& Project;
    TTavloConvert& Planner;

    QLabel* lbllevel;
    QComboBox* cbxLevel;
    QTreeWidget* tvBookmark;
    QCheckBox* cbIspart;
    QCheckBox* cbHigh;
    QCheckBox* cbNameByTitle;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Shows the dialog modally, centred on the main window when that is the active window, else
// on the screen. True when it was closed with OK.
bool ShowBookmarkDialog(TTavloProj& project, TTavloConvert& planner, QWidget* mainWindow);
