#include "ui/frmAdvancedSetting.h"

#include "model/PageStr.h"
#include "model/TavloProj.h"
#include "shell/FileSizeText.h"
#include "shell/FormatText.h"
#include "shell/MessageBox.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/SameText.h"
#include "split/TavloConvert.h"
#include "ui/DialogPlacement.h"
#include "ui/JobDialogRegistration.h"
#include "ui/SkinFiles.h"
#include "ui/RightToLeft.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <functional>

TAVLO_REGISTER_JOB_DIALOG(TfrmAdvancedSetting)

namespace {

const QColor kInfoBackground(225, 225, 225);
const QColor kListBorder(159, 159, 159);
const QColor kGridLine(222, 222, 222);

void InformationBox(const QString& text)
{
    ShowMessageBox(text, MessageBoxButtons::Ok, MessageBoxIcons::Information, 0);
}

// Draws the grid lines of the table and hands a finished cell edit to the dialog, which
// decides what the cell keeps.
class TCellDelegate : public QStyledItemDelegate
{
public:
    using TCommit = std::function<QString(int row, int column, const QString& text)>;

    TCellDelegate(TCommit commit, QObject* parent)
        : QStyledItemDelegate(parent), FCommit(std::move(commit))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(kGridLine);
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        // The message box of a rejected edit takes the focus from the editor, which would
        // commit the same edit a second time.
        if (!edit || FCommitting)
            return;
        FCommitting = true;
        const QString kept = FCommit(index.row(), index.column(), edit->text());
        FCommitting = false;
        model->setData(index, kept, Qt::EditRole);
    }

private:
    TCommit FCommit;
    mutable bool FCommitting = false;
};

QLineEdit* NewInfoEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette background = edit->palette();
    background.setColor(QPalette::Base, kInfoBackground);
    edit->setPalette(background);
    return edit;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, const QRect& place)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

QAction* NewMenuItem(QMenu* menu, const char* name, const char* caption)
{
    auto* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TfrmAdvancedSetting::TfrmAdvancedSetting(TTavloProj& project, TTavloConvert& planner,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Project(project), Planner(planner), FWorkingList(std::make_unique<TAdvDefineList>(project.Method())),
      imgFile(new QLabel(this)), edtFileName(NewInfoEdit(this, "edtFileName")),
      edtSize(NewInfoEdit(this, "edtSize")), edtTotalPage(NewInfoEdit(this, "edtTotalPage")),
      btnAdd(NewButton(this, "btnAdd", "New", {15, 125, 80, 26})),
      btnRemove(NewButton(this, "btnRemove", "Remove", {100, 125, 80, 26})),
      btnClear(NewButton(this, "btnClear", "Clear", {185, 125, 80, 26})),
      lstFiles(new QTreeWidget(this)), pmFilelist(new QMenu(this)),
      pmiAdd(NewMenuItem(pmFilelist, "pmiAdd", "Add...")), pmiDelete(nullptr), pmiClear(nullptr),
      btnOK(NewButton(this, "btnOK", "OK", {266, 364, 80, 26})),
      btnCancel(NewButton(this, "btnCancel", "Cancel", {351, 364, 80, 26}))
{
    pmFilelist->addSeparator();
    pmiDelete = NewMenuItem(pmFilelist, "pmiDelete", "Remove");
    pmiClear = NewMenuItem(pmFilelist, "pmiClear", "Clear");
    setObjectName(QStringLiteral("frmAdvancedSetting"));
    setWindowTitle(QStringLiteral("Custom Settings"));
    setFixedSize(446, 403);
    CreateControls();
    ApplyFormsLanguage(this);
    SkinFormCreate();
    MirrorForLanguage(this);
}

TfrmAdvancedSetting::~TfrmAdvancedSetting() = default;

void TfrmAdvancedSetting::CreateControls()
{
    imgFile->setObjectName(QStringLiteral("imgFile"));
    imgFile->setGeometry(15, 20, 0, 0);
    imgFile->hide();
    const int infoWidth = width() - 15 - 15;
    edtFileName->setGeometry(15, 20, infoWidth, 17);
    edtSize->setGeometry(15, 50, infoWidth, 17);
    edtTotalPage->setGeometry(15, 80, infoWidth, 17);

    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    lstFiles->setGeometry(15, 158, 416, 196);
    lstFiles->setColumnCount(2);
    lstFiles->setHeaderLabels({QStringLiteral("File name"), QStringLiteral("Range")});
    lstFiles->setColumnWidth(0, 220);
    lstFiles->setColumnWidth(1, 185);
    lstFiles->header()->setStretchLastSection(false);
    lstFiles->header()->setSectionsClickable(false);
    lstFiles->header()->setSectionsMovable(false);
    lstFiles->setRootIsDecorated(false);
    lstFiles->setItemsExpandable(false);
    lstFiles->setUniformRowHeights(true);
    lstFiles->setAllColumnsShowFocus(true);
    lstFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A cell is edited on a click that did not move, never by the view's own triggers: a press
    // that moves drags the row.
    lstFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFiles->setItemDelegate(new TCellDelegate(
        [this](int row, int column, const QString& text) {
            return lstFilesEdited(row, column, text);
        },
        lstFiles));
    // Rows are moved by the dialog itself, so that the working list moves with them.
    lstFiles->setDragEnabled(true);
    lstFiles->setDragDropMode(QAbstractItemView::DragDrop);
    lstFiles->viewport()->setAcceptDrops(true);
    lstFiles->viewport()->installEventFilter(this);
    lstFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstFiles, &QTreeWidget::pressed, this, &TfrmAdvancedSetting::lstFilesMouseDown);
    connect(lstFiles, &QTreeWidget::clicked, this, &TfrmAdvancedSetting::lstFilesClick);
    connect(lstFiles, &QTreeWidget::itemSelectionChanged, this,
            &TfrmAdvancedSetting::lstFilesSelectItem);
    connect(lstFiles, &QTreeWidget::customContextMenuRequested, this,
            &TfrmAdvancedSetting::pmFilelistPopup);

    pmFilelist->setObjectName(QStringLiteral("pmFilelist"));
    connect(pmiAdd, &QAction::triggered, this, &TfrmAdvancedSetting::btnAddClick);
    connect(pmiDelete, &QAction::triggered, this, &TfrmAdvancedSetting::pmiDeleteClick);
    connect(pmiClear, &QAction::triggered, this, &TfrmAdvancedSetting::pmiClearClick);

    connect(btnAdd, &QPushButton::clicked, this, &TfrmAdvancedSetting::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TfrmAdvancedSetting::pmiDeleteClick);
    connect(btnClear, &QPushButton::clicked, this, &TfrmAdvancedSetting::pmiClearClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAdvancedSetting::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAdvancedSetting::SkinFormCreate()
{
    const QPixmap picture = LoadSkinPicture(SkinFiles::FileImage);
    if (!picture.isNull()) {
        imgFile->setPixmap(picture);
        imgFile->setGeometry(15, 20, picture.width(), picture.height());
        imgFile->show();
        const int left = imgFile->geometry().right() + 1 + 8;
        const int infoWidth = width() - left - 15;
        edtFileName->setGeometry(left, imgFile->y(), infoWidth, 17);
        edtSize->setGeometry(left, imgFile->y() + imgFile->height() / 2 - 8, infoWidth, 17);
        edtTotalPage->setGeometry(left, imgFile->geometry().bottom() + 1 - 17, infoWidth, 17);
    }

    if (const TFileInfo* document = Document()) {
        edtFileName->setText(FormatFormsText(QStringLiteral("sFileNameSet"),
                                             {QFileInfo(document->Source()).fileName()}));
        edtSize->setText(
            FormatFormsText(QStringLiteral("sFileSizeSet"), {FileSizeText(document->Source())}));
        // A locked document has no page count yet.
        const QString pages = document->TotalPage() >= 0
                                  ? QString::number(document->TotalPage())
                                  : GetFormsLangString(QStringLiteral("sFilePageError"));
        edtTotalPage->setText(FormatFormsText(QStringLiteral("sFileTotalPageSet"), {pages}));
    }

    const TAdvDefineList& defined = *Project.Method()->AdvDefine();
    if (defined.Count() > 0) {
        FWorkingList->Assign(defined);
        for (int i = 0; i < FWorkingList->Count(); ++i)
            AppendRow(FWorkingList->Items(i)->OutFile(), FWorkingList->Items(i)->PageStr());
    }
    EditRejected = false;
    UpdateControls();
}

void TfrmAdvancedSetting::showEvent(QShowEvent* event)
{
    SkinFormShow();
    QDialog::showEvent(event);
}

void TfrmAdvancedSetting::SkinFormShow()
{
    lstFiles->setStyleSheet(QStringLiteral("QTreeWidget#lstFiles { border: 1px solid %1; }")
                                .arg(kListBorder.name()));
}

TFileInfo* TfrmAdvancedSetting::Document() const
{
    const TFileList& files = *Project.Files();
    return files.Count() > 0 ? files.Items(0) : nullptr;
}

void TfrmAdvancedSetting::UpdateControls()
{
    btnRemove->setEnabled(!lstFiles->selectedItems().isEmpty());
    btnClear->setEnabled(lstFiles->topLevelItemCount() > 0);
}

void TfrmAdvancedSetting::AppendRow(const QString& name, const QString& range)
{
    auto* row = new QTreeWidgetItem(lstFiles, {name, range});
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                  Qt::ItemIsDragEnabled);
}

QString TfrmAdvancedSetting::GeneratedName() const
{
    const TFileInfo* document = Document();
    const QString base = document ? QFileInfo(document->Source()).completeBaseName() : QString();
    QStringList captions;
    for (int i = 0; i < lstFiles->topLevelItemCount(); ++i)
        captions.append(lstFiles->topLevelItem(i)->text(0));
    for (int n = 1;; ++n) {
        const QString name = base + QStringLiteral("(%1).pdf").arg(n);
        const bool taken = std::any_of(captions.cbegin(), captions.cend(),
                                       [&name](const QString& c) { return SameText(c, name); });
        if (!taken)
            return name;
    }
}

void TfrmAdvancedSetting::btnAddClick()
{
    if (lstFiles->topLevelItemCount() >= kMaxRows) {
        InformationBox(
            FormatFormsText(QStringLiteral("sFileCountLimit"), {QString::number(kMaxRows)}));
        return;
    }
    const QString name = GeneratedName();
    AppendRow(name, QStringLiteral("1"));
    TAdvDefine& entry = *FWorkingList->NewItem();
    entry.SetOutFile(name);
    entry.SetPageStr(QStringLiteral("1"));
    UpdateControls();
}

void TfrmAdvancedSetting::pmiDeleteClick()
{
    const QList<QTreeWidgetItem*> selected = lstFiles->selectedItems();
    if (selected.isEmpty())
        return;
    const int remembered = selected.size() == 1 ? lstFiles->indexOfTopLevelItem(selected.first()) : -1;
    for (int i = lstFiles->topLevelItemCount() - 1; i >= 0; --i) {
        if (!lstFiles->topLevelItem(i)->isSelected())
            continue;
        delete lstFiles->takeTopLevelItem(i);
        FWorkingList->Delete(i);
    }
    const int count = lstFiles->topLevelItemCount();
    const int next = remembered >= 0 && remembered < count ? remembered : 0;
    if (count > 0) {
        lstFiles->clearSelection();
        lstFiles->setCurrentItem(lstFiles->topLevelItem(next));
        lstFiles->topLevelItem(next)->setSelected(true);
    }
    UpdateControls();
    if (count > 0)
        lstFiles->viewport()->update();
}

void TfrmAdvancedSetting::pmiClearClick()
{
    FWorkingList->Clear();
    lstFiles->clear();
    UpdateControls();
}

void TfrmAdvancedSetting::pmFilelistPopup(const QPoint& position)
{
    pmiDelete->setEnabled(btnRemove->isEnabled());
    pmiClear->setEnabled(btnClear->isEnabled());
    pmFilelist->popup(lstFiles->viewport()->mapToGlobal(position));
}

// A press only decides whether the click it begins may edit; the press after a rejected edit
// may not, so that the user first sees the restored text.
void TfrmAdvancedSetting::lstFilesMouseDown(const QModelIndex& index)
{
    EditOnClick = !EditRejected && lstFiles->itemFromIndex(index) != nullptr;
    EditRejected = false;
}

// The view reports a click only when the mouse was released on the pressed cell without
// starting a drag.
void TfrmAdvancedSetting::lstFilesClick(const QModelIndex& index)
{
    QTreeWidgetItem* row = lstFiles->itemFromIndex(index);
    if (EditOnClick && row && (index.column() == 0 || index.column() == 1))
        lstFiles->editItem(row, index.column());
    EditOnClick = false;
}

QString TfrmAdvancedSetting::lstFilesEdited(int row, int column, const QString& text)
{
    EditRejected = false;
    if (row < 0 || row >= FWorkingList->Count())
        return text;
    TAdvDefine& entry = *FWorkingList->Items(row);
    QString s = text;
    if (column == 0) {
        if (!ValidOutputName(row, s) || QFileInfo(OutputFolder() + s).isFile()) {
            InformationBox(GetFormsLangString(QStringLiteral("sInvalidFileName")));
            s = entry.OutFile();
            EditRejected = true;
        }
        entry.SetOutFile(s);
    } else if (column == 1) {
        const TFileInfo* document = Document();
        // The pages of a locked document are not known: it gets the one page it surely has.
        if (!document || !document->IsAccessible()) {
            s = QStringLiteral("1");
            entry.SetPageStr(s);
        } else {
            if (s.trimmed().isEmpty())
                s = QStringLiteral("1");
            if (ValidatePageStr(s, document->TotalPage())) {
                entry.SetPageStr(s);
            } else {
                InformationBox(GetFormsLangString(QStringLiteral("sInvalidSelPages")));
                s = entry.PageStr();
                EditRejected = true;
            }
        }
    }
    return s;
}

bool TfrmAdvancedSetting::ValidOutputName(int row, const QString& name) const
{
    if (!name.contains(u'.') || name.right(4).toLower() != QStringLiteral(".pdf"))
        return false;
    for (const QChar c : name) {
        if (QStringView(u"*/\\:<>\"?|").contains(c))
            return false;
    }
    const int count = lstFiles->topLevelItemCount();
    for (int i = 0; count > 1 && i < count; ++i) {
        if (i != row && SameText(lstFiles->topLevelItem(i)->text(0), name))
            return false;
    }
    return true;
}

QString TfrmAdvancedSetting::OutputFolder() const
{
    const TProductConfig& config = ProductConfig();
    if (config.CustomPath && !config.CustomDir.isEmpty())
        return WithTrailingBackslash(config.CustomDir);
    const TFileInfo* document = Document();
    return document ? WithTrailingBackslash(QFileInfo(document->Source()).absolutePath())
                    : QString();
}

void TfrmAdvancedSetting::lstFilesSelectItem()
{
    lstFiles->setDragEnabled(lstFiles->selectedItems().size() < 2);
    UpdateControls();
}

bool TfrmAdvancedSetting::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstFiles->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            lstFilesDragOver(*static_cast<QDragMoveEvent*>(event));
            return true;
        case QEvent::Drop:
            lstFilesDragDrop(*static_cast<QDropEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAdvancedSetting::lstFilesDragOver(QDragMoveEvent& event)
{
    if (CarriesRows(*event.mimeData()))
        event.acceptProposedAction();
    else
        event.ignore();
}

bool TfrmAdvancedSetting::CarriesRows(const QMimeData& dragged) const
{
    // Rows of a list, not files dragged in from elsewhere.
    const QStringList formats = lstFiles->model()->mimeTypes();
    return std::any_of(formats.cbegin(), formats.cend(),
                       [&dragged](const QString& format) { return dragged.hasFormat(format); });
}

void TfrmAdvancedSetting::lstFilesDragDrop(QDropEvent& event)
{
    if (!CarriesRows(*event.mimeData())) {
        event.ignore();
        return;
    }
    // Reported as a copy, so that the view does not remove the dragged row after the move.
    event.setDropAction(Qt::CopyAction);
    event.accept();
    const QList<QTreeWidgetItem*> selected = lstFiles->selectedItems();
    QTreeWidgetItem* target = lstFiles->itemAt(event.position().toPoint());
    if (selected.size() != 1 || !target || target == selected.first())
        return;
    const int from = lstFiles->indexOfTopLevelItem(selected.first());
    const int to = lstFiles->indexOfTopLevelItem(target);
    FWorkingList->Move(from, to);
    QTreeWidgetItem* row = lstFiles->takeTopLevelItem(from);
    lstFiles->insertTopLevelItem(to, row);
    lstFiles->clearSelection();
    lstFiles->setCurrentItem(row);
    row->setSelected(true);
    UpdateControls();
}

void TfrmAdvancedSetting::btnOKClick()
{
    TAdvDefineList& defined = *Project.Method()->AdvDefine();
    defined.Clear();
    for (int i = 0; i < FWorkingList->Count(); ++i) {
        const TAdvDefine& entry = *FWorkingList->Items(i);
        QString name = entry.OutFile();
        if (name.isEmpty()) {
            name = GeneratedName();
            if (QTreeWidgetItem* row = lstFiles->topLevelItem(i))
                row->setText(0, name);
        }
        TAdvDefine& copy = *defined.NewItem();
        copy.SetOutFile(name);
        copy.SetPageStr(entry.PageStr());
    }
    accept();
}

bool ShowAdvancedDialog(TTavloProj& project, TTavloConvert& planner, QWidget* mainWindow)
{
    TfrmAdvancedSetting dialog(project, planner, mainWindow);
    PlaceDialog(dialog, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}
