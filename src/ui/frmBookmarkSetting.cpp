#include "ui/frmBookmarkSetting.h"

#include "model/TavloProj.h"
#include "shell/ProductConfig.h"
#include "shell/MutlLanguage.h"
#include "split/TavloConvert.h"
#include "ui/DialogPlacement.h"
#include "ui/JobDialogRegistration.h"
#include "ui/RightToLeft.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

TAVLO_REGISTER_JOB_DIALOG(TfrmBookmarkSetting)

namespace {

const QColor kTreeBorder(163, 163, 163);

void AddNodes(const std::vector<TBookmarkTreeNode>& nodes, QTreeWidgetItem* parent,
              QTreeWidget* tree)
{
    for (const TBookmarkTreeNode& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.Title);
        AddNodes(node.Children, item, tree);
    }
}

} // namespace

TfrmBookmarkSetting::TfrmBookmarkSetting(TTavloProj& project, TTavloConvert& planner,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Project(project), Planner(planner), lbllevel(new QLabel(this)), cbxLevel(new QComboBox(this)),
      tvBookmark(new QTreeWidget(this)), cbIspart(new QCheckBox(this)), cbHigh(new QCheckBox(this)),
      cbNameByTitle(new QCheckBox(this)),
      btnOK(new QPushButton(this)), btnCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmBookmarkSetting"));
    setWindowTitle(QStringLiteral("Bookmark Settings"));
    setFixedSize(520, 435);
    CreateControls();
    ApplyFormsLanguage(this);
    SkinFormCreate();
    MirrorForLanguage(this);
}

void TfrmBookmarkSetting::CreateControls()
{
    lbllevel->setObjectName(QStringLiteral("lbllevel"));
    lbllevel->setText(QStringLiteral("Please select split level"));
    lbllevel->setGeometry(20, 18, 300, 20);

    cbxLevel->setObjectName(QStringLiteral("cbxLevel"));
    cbxLevel->setEditable(false);
    cbxLevel->setGeometry(20, 42, 120, 24);
    cbxLevel->installEventFilter(this);

    tvBookmark->setObjectName(QStringLiteral("tvBookmark"));
    tvBookmark->setGeometry(20, 76, 480, 250);
    tvBookmark->setColumnCount(1);
    tvBookmark->setHeaderHidden(true);
    tvBookmark->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvBookmark->setSelectionMode(QAbstractItemView::SingleSelection);
    tvBookmark->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvBookmark->setAllColumnsShowFocus(true);
    tvBookmark->setItemsExpandable(true);

    cbIspart->setObjectName(QStringLiteral("cbIspart"));
    cbIspart->setText(
        QStringLiteral("If the bookmark do not point to top, the page will be two parts."));
    cbIspart->setGeometry(20, 334, 480, 20);

    cbHigh->setObjectName(QStringLiteral("cbHigh"));
    cbHigh->setText(QStringLiteral("Generate higher level bookmark files."));
    cbHigh->setGeometry(20, 356, 480, 20);

    cbNameByTitle->setObjectName(QStringLiteral("cbNameByTitle"));
    cbNameByTitle->setText(QStringLiteral("Name the files after the bookmarks"));
    cbNameByTitle->setGeometry(20, 378, 480, 20);

    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setAutoDefault(false);
    btnOK->setGeometry(335, 402, 80, 26);
    connect(btnOK, &QPushButton::clicked, this, &TfrmBookmarkSetting::btnOKClick);

    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setText(QStringLiteral("Cancel"));
    btnCancel->setAutoDefault(false);
    btnCancel->setGeometry(420, 402, 80, 26);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFileInfo* TfrmBookmarkSetting::Document() const
{
    const TFileList& files = *Project.Files();
    return files.Count() > 0 ? files.Items(0) : nullptr;
}

void TfrmBookmarkSetting::SkinFormCreate()
{
    const TBookMarkOption& option = *Project.Method()->BookMarkOption();
    TFileInfo* document = Document();
    cbxLevel->clear();
    const int levels = document ? Planner.GetBookmarkLevelCount(*document) : 0;
    for (int level = 1; level <= levels; ++level)
        cbxLevel->addItem(QString::number(level));
    cbxLevel->setCurrentIndex(cbxLevel->findText(QString::number(option.LevelNum())));
    cbIspart->setChecked(option.BothPage());
    cbHigh->setChecked(option.SaveHigherLevel());
    cbNameByTitle->setChecked(option.TitleNaming() != tnNone);

    tvBookmark->clear();
    if (document && cbxLevel->currentIndex() >= 0) {
        std::vector<TBookmarkTreeNode> nodes;
        Planner.FillBookmarkTree(*document, nodes);
        AddNodes(nodes, nullptr, tvBookmark);
        tvBookmark->expandAll();
    }
    if (tvBookmark->topLevelItemCount() > 0)
        tvBookmark->setCurrentItem(tvBookmark->topLevelItem(0));
}

void TfrmBookmarkSetting::showEvent(QShowEvent* event)
{
    SkinFormShow();
    QDialog::showEvent(event);
}

void TfrmBookmarkSetting::SkinFormShow()
{
    tvBookmark->setStyleSheet(QStringLiteral("QTreeWidget#tvBookmark { border: 1px solid %1; }")
                                  .arg(kTreeBorder.name()));
}

bool TfrmBookmarkSetting::cbxLevelKeyDown(const QKeyEvent& key) const
{
    if (key.key() == Qt::Key_Delete || key.key() == Qt::Key_Backspace)
        return true;
    // Typed characters would pick an item by its text; the level is chosen from the list.
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

bool TfrmBookmarkSetting::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cbxLevel && event->type() == QEvent::KeyPress &&
        cbxLevelKeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TfrmBookmarkSetting::btnOKClick()
{
    TBookMarkOption& option = *Project.Method()->BookMarkOption();
    option.SetLevelNum(cbxLevel->currentIndex() + 1);
    option.SetBothPage(cbIspart->isChecked());
    option.SetSaveHigherLevel(cbHigh->isChecked());
    option.SetTitleNaming(cbNameByTitle->isChecked() ? tnTitle : tnNone);
    ProductConfig().NameByTitle = cbNameByTitle->isChecked();
    accept();
}

bool ShowBookmarkDialog(TTavloProj& project, TTavloConvert& planner, QWidget* mainWindow)
{
    TfrmBookmarkSetting dialog(project, planner, mainWindow);
    PlaceDialog(dialog, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}
