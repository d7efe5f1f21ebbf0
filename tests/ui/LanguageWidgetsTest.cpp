#include "ui/LanguageWidgets.h"
#include "shell/LanguageMgr.h"
#include "shell/LanguageProperty.h"

#include <QColor>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

class TColorHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QColor color MEMBER FColor)

public:
    QColor FColor;
};

namespace {

QStringList ItemTexts(QObject* control)
{
    QStringList texts;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
    }
    return texts;
}

QStringList HeaderTexts(QAbstractItemView* view)
{
    QStringList texts;
    for (int i = 0; i < view->model()->columnCount(); ++i)
        texts.append(view->model()->headerData(i, Qt::Horizontal).toString());
    return texts;
}

TEST(LanguageWidgetsTest, ColourValuesSetAColourProperty)
{
    const struct
    {
        const char* value;
        QColor expected;
    } cases[] = {
        {"clRed", QColor(255, 0, 0)},    {"12345", QColor(0x39, 0x30, 0x00)},
        {"16711680", QColor(0, 0, 255)}, {"clBtnFace", QColor(0xF0, 0xF0, 0xF0)},
        {"#00ff00", QColor(0, 255, 0)},
    };
    for (const auto& c : cases) {
        TColorHolder holder;
        EXPECT_TRUE(
            SetPropertyFromText(&holder, QStringLiteral("color"), QString::fromLatin1(c.value)))
            << c.value;
        EXPECT_EQ(holder.FColor, c.expected) << c.value;
    }
    TColorHolder holder;
    EXPECT_THROW(SetPropertyFromText(&holder, QStringLiteral("color"), QStringLiteral("clNoSuch")),
                 TLanguageValueError);
    EXPECT_THROW(SetPropertyFromText(&holder, QStringLiteral("color"), QStringLiteral("#nonsense")),
                 TLanguageValueError);
}

TEST(LanguageWidgetsTest, EnumerationsAndSetsByMemberNames)
{
    QLineEdit edit;
    EXPECT_TRUE(SetPropertyFromText(&edit, QStringLiteral("echoMode"), QStringLiteral("Password")));
    EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
    EXPECT_THROW(SetPropertyFromText(&edit, QStringLiteral("echoMode"), QStringLiteral("Secret")),
                 TLanguageValueError);

    QLabel label;
    EXPECT_TRUE(SetPropertyFromText(&label, QStringLiteral("alignment"),
                                    QStringLiteral("AlignRight|AlignVCenter")));
    EXPECT_EQ(label.alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_TRUE(SetPropertyFromText(&label, QStringLiteral("alignment"),
                                    QStringLiteral("[AlignLeft, AlignTop]")));
    EXPECT_EQ(label.alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_TRUE(
        SetPropertyFromText(&label, QStringLiteral("textFormat"), QStringLiteral("PlainText")));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
}

TEST(LanguageWidgetsTest, ItemsReplaceTheWholeList)
{
    const QStringList start = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    const QStringList targets[] = {
        {QStringLiteral("one")},
        {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
         QStringLiteral("four")},
        {},
    };
    for (const QStringList& lines : targets) {
        QComboBox combo;
        for (const QString& text : start)
            combo.addItem(text, text.toUpper());
        QListWidget list;
        list.addItems(start);
        for (QObject* control : {static_cast<QObject*>(&combo), static_cast<QObject*>(&list)}) {
            EXPECT_TRUE(ApplyWidgetListContent(control, TListContentKind::Items, lines));
            EXPECT_EQ(ItemTexts(control), lines);
        }
        // Items that stay keep their data.
        if (!lines.isEmpty()) {
            EXPECT_EQ(combo.itemData(0).toString(), QStringLiteral("A"));
        }
    }
}

TEST(LanguageWidgetsTest, ColumnsAreTitledByPosition)
{
    QTreeWidget tree;
    tree.setHeaderLabels({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    EXPECT_TRUE(ApplyWidgetListContent(&tree, TListContentKind::Columns, {QStringLiteral("X")}));
    EXPECT_EQ(HeaderTexts(&tree),
              QStringList({QStringLiteral("X"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(ApplyWidgetListContent(
        &tree, TListContentKind::Columns,
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(HeaderTexts(&tree),
              QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));

    QTableWidget table(0, 2);
    EXPECT_TRUE(ApplyWidgetListContent(&table, TListContentKind::Columns,
                                       {QStringLiteral("File name"), QStringLiteral("Range")}));
    EXPECT_EQ(HeaderTexts(&table),
              QStringList({QStringLiteral("File name"), QStringLiteral("Range")}));

    QListWidget list;
    QLabel label;
    EXPECT_FALSE(ApplyWidgetListContent(&list, TListContentKind::Columns, {QStringLiteral("x")}));
    EXPECT_FALSE(ApplyWidgetListContent(&label, TListContentKind::Items, {QStringLiteral("x")}));
}

TEST(LanguageWidgetsTest, TheWindowFontTakesFaceAndSize)
{
    QWidget window;
    const QString original = window.font().family();
    const int originalSize = window.font().pointSize();

    TLanguageFont font;
    ApplyWidgetFont(&window, font);
    EXPECT_EQ(window.font().family(), original);
    EXPECT_EQ(window.font().pointSize(), originalSize);

    font.name = QStringLiteral("DejaVu Sans");
    font.size = 13;
    ApplyWidgetFont(&window, font);
    EXPECT_EQ(window.font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(window.font().pointSize(), 13);

    font.name = QStringLiteral("No Such Face At All");
    ApplyWidgetFont(&window, font);
    EXPECT_EQ(window.font().family(),
              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
}

TEST(LanguageWidgetsTest, TheManagerTranslatesALiveWindow)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("English.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<LanguageResource Id="ENG" name="English">
  <Default><Font Name="DejaVu Sans" Size="12"/></Default>
  <Forms>
    <frmAbout windowTitle="About">
      <lblTitle text="Hello" alignment="AlignCenter"/>
      <cbxLevel toolTip="Level"><Items><Item Caption="One"/><Item Caption="Two"/></Items></cbxLevel>
      <lstFiles><Columns><Column Caption="File name"/></Columns></lstFiles>
    </frmAbout>
  </Forms>
</LanguageResource>)");
    file.close();
    TLanguageMgr manager;
    ASSERT_EQ(manager.LoadLanguages(folder.path() + QStringLiteral("/*.dat")), 1);
    ASSERT_TRUE(manager.SelectLanguage(QStringLiteral("ENG")));

    QWidget window;
    window.setObjectName(QStringLiteral("frmAbout"));
    auto* label = new QLabel(&window);
    label->setObjectName(QStringLiteral("lblTitle"));
    auto* combo = new QComboBox(&window);
    combo->setObjectName(QStringLiteral("cbxLevel"));
    auto* tree = new QTreeWidget(&window);
    tree->setObjectName(QStringLiteral("lstFiles"));
    tree->setHeaderLabels({QStringLiteral("a"), QStringLiteral("b")});

    ASSERT_TRUE(manager.ApplyLanguage(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(window.font().pointSize(), 12);
    EXPECT_EQ(label->text(), QStringLiteral("Hello"));
    EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    EXPECT_EQ(combo->toolTip(), QStringLiteral("Level"));
    EXPECT_EQ(ItemTexts(combo), QStringList({QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(HeaderTexts(tree), QStringList({QStringLiteral("File name"), QStringLiteral("b")}));
}

} // namespace

#include "LanguageWidgetsTest.moc"
