#pragma once

#include <QDialog>

#include <memory>

class QAction;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QModelIndex;
class QPushButton;
class QTreeWidget;
class TAdvDefineList;
class TFileInfo;
class TTavloConvert;
class TTavloProj;

// The table of output files of the custom split, each with its page range. Edits a copy of
// the job's list and writes it back only on OK.
class TfrmAdvancedSetting : public QDialog
{
    Q_OBJECT
public:
    TfrmAdvancedSetting(TTavloProj& project, TTavloConvert& planner, QWidget* parent = nullptr);
    ~TfrmAdvancedSetting() override;

    // The dialog never holds more rows than this.
    static constexpr int kMaxRows = 200;

    const TAdvDefineList& WorkingList() const { return *FWorkingList; }

    // Ends an in-place edit of a cell with the typed text; answers the text the cell keeps.
    QString lstFilesEdited(int row, int column, const QString& text);

protected:
    virtual void UpdateControls();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void SkinFormCreate();
    void SkinFormShow();
    void btnAddClick();
    void pmiDeleteClick();
    void pmiClearClick();
    void btnOKClick();
    void pmFilelistPopup(const QPoint& position);
    void lstFilesMouseDown(const QModelIndex& index);
    void lstFilesClick(const QModelIndex& index);
    void lstFilesSelectItem();
    void lstFilesDragOver(QDragMoveEvent& event);
    void lstFilesDragDrop(QDropEvent& event);
    bool CarriesRows(const QMimeData& dragged) const;

    TFileInfo* Document() const;
    QString GeneratedName() const;
    bool ValidOutputName(int row, const QString& name) const;
    QString OutputFolder() const;
    void AppendRow(const QString& name, const QString& range);

    TTavloProj& Project;
    // Kept for the dialog's life; the table needs nothing from it.
    [[maybe_unused]] TTavloConvert& Planner;
    std::unique_ptr<TAdvDefineList> FWorkingList;
    bool EditRejected = false;
    // Whether the click that the last press began may open an editor.
    bool EditOnClick = false;

    QLabel* imgFile;
    QLineEdit* edtFileName;
    QLineEdit* edtSize;
    QLineEdit* edtTotalPage;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    QPushButton* btnClear;
    QTreeWidget* lstFiles;
    QMenu* pmFilelist;
    QAction* pmiAdd;
    QAction* pmiDelete;
    QAction* pmiClear;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Shows the dialog modally, centred on the main window when that is the active window, else
// on the screen. True when it was closed with OK.
bool ShowAdvancedDialog(TTavloProj& project, TTavloConvert& planner, QWidget* mainWindow);
