#include "ui/LanguageWidgets.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTreeView>
#include <QWidget>

namespace {

QString AvailableFamily(const QString& family)
{
    if (QFontDatabase::hasFamily(family))
        return family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

void ReplaceComboItems(QComboBox* combo, const QStringList& lines)
{
    const int count = static_cast<int>(lines.size());
    for (int i = 0; i < count; ++i) {
        if (i < combo->count())
            combo->setItemText(i, lines[i]);
        else
            combo->addItem(lines[i]);
    }
    while (combo->count() > count)
        combo->removeItem(combo->count() - 1);
}

void ReplaceListItems(QListWidget* list, const QStringList& lines)
{
    const int count = static_cast<int>(lines.size());
    for (int i = 0; i < count; ++i) {
        if (i < list->count())
            list->item(i)->setText(lines[i]);
        else
            list->addItem(lines[i]);
    }
    while (list->count() > count)
        delete list->takeItem(list->count() - 1);
}

// Report lists: views that show columns with titles.
QAbstractItemView* ReportView(QObject* component)
{
    if (auto* tree = qobject_cast<QTreeView*>(component))
        return tree;
    if (auto* table = qobject_cast<QTableView*>(component))
        return table;
    return nullptr;
}

bool SetColumnTitles(QAbstractItemView* view, const QStringList& lines)
{
    QAbstractItemModel* model = view->model();
    if (!model)
        return false;
    const int count = std::min(static_cast<int>(lines.size()), model->columnCount());
    auto* table = qobject_cast<QTableWidget*>(view);
    for (int i = 0; i < count; ++i) {
        // A table widget has no header item for a column until one is given.
        if (table && !table->horizontalHeaderItem(i))
            table->setHorizontalHeaderItem(i, new QTableWidgetItem(lines[i]));
        else
            model->setHeaderData(i, Qt::Horizontal, lines[i]);
    }
    view->viewport()->update();
    return true;
}

QStringList ColumnTitles(QAbstractItemView* view)
{
    QStringList titles;
    if (const QAbstractItemModel* model = view->model()) {
        for (int i = 0; i < model->columnCount(); ++i)
            titles.append(model->headerData(i, Qt::Horizontal).toString());
    }
    return titles;
}

} // namespace

void InstallLanguageHooks()
{
    SetLanguageFontApplier(ApplyWidgetFont);
    SetListContentApplier(ApplyWidgetListContent);
}

void ApplyWidgetFont(QObject* window, const TLanguageFont& font)
{
    auto* widget = qobject_cast<QWidget*>(window);
    if (!widget)
        return;
    QFont windowFont = widget->font();
    if (!font.name.isEmpty())
        windowFont.setFamily(AvailableFamily(font.name));
    if (font.size > 0)
        windowFont.setPointSize(font.size);
    widget->setFont(windowFont);
}

bool ApplyWidgetListContent(QObject* component, TListContentKind kind, const QStringList& lines)
{
    if (kind == TListContentKind::Columns) {
        QAbstractItemView* view = ReportView(component);
        return view && SetColumnTitles(view, lines);
    }
    if (auto* combo = qobject_cast<QComboBox*>(component)) {
        ReplaceComboItems(combo, lines);
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(component)) {
        ReplaceListItems(list, lines);
        return true;
    }
    return false;
}

std::optional<TListContent> ReadWidgetListContent(QObject* component)
{
    if (auto* combo = qobject_cast<QComboBox*>(component)) {
        TListContent content{TListContentKind::Items, {}};
        for (int i = 0; i < combo->count(); ++i)
            content.lines.append(combo->itemText(i));
        return content;
    }
    if (auto* list = qobject_cast<QListWidget*>(component)) {
        TListContent content{TListContentKind::Items, {}};
        for (int i = 0; i < list->count(); ++i)
            content.lines.append(list->item(i)->text());
        return content;
    }
    if (QAbstractItemView* view = ReportView(component))
        return TListContent{TListContentKind::Columns, ColumnTitles(view)};
    return std::nullopt;
}
