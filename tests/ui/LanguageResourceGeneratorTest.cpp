#include "shell/LanguageMgr.h"
#include "shell/LanguageProperty.h"
#include "shell/LanguageXml.h"
#include "shell/MessageBox.h"
#include "ui/LanguageSwitches.h"
#include "ui/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

// A window with what the program's windows hold: a group with a control inside, list
// controls, an unnamed container and Qt's own objects (layouts, viewports, headers).
class TfrmSample : public QWidget
{
    Q_OBJECT

public:
    TfrmSample()
    {
        setObjectName(QStringLiteral("frmSample"));
        setWindowTitle(QStringLiteral("Sample"));
        auto* layout = new QVBoxLayout(this);
        auto* group = new QGroupBox(QStringLiteral("Options"), this);
        group->setObjectName(QStringLiteral("grpOptions"));
        auto* keep = new QCheckBox(QStringLiteral("Keep pages"), group);
        keep->setObjectName(QStringLiteral("cbKeep"));
        keep->setToolTip(QStringLiteral("Keeps the other pages"));
        (new QVBoxLayout(group))->addWidget(keep);
        auto* range = new QLineEdit(this);
        range->setObjectName(QStringLiteral("edtRange"));
        range->setPlaceholderText(QStringLiteral("1-3"));
        range->setEchoMode(QLineEdit::Password);
        auto* level = new QComboBox(this);
        level->setObjectName(QStringLiteral("cbxLevel"));
        level->addItems({QStringLiteral("1"), QStringLiteral("2")});
        auto* files = new QTreeWidget(this);
        files->setObjectName(QStringLiteral("lstFiles"));
        files->setHeaderLabels({QStringLiteral("File name"), QStringLiteral("Range")});
        auto* unnamed = new QWidget(this);
        auto* inner = new QPushButton(QStringLiteral("Inner"), unnamed);
        inner->setObjectName(QStringLiteral("btnInner"));
        for (QWidget* widget :
             {static_cast<QWidget*>(group), static_cast<QWidget*>(range),
              static_cast<QWidget*>(level), static_cast<QWidget*>(files), unnamed})
            layout->addWidget(widget);
    }
};

TAVLO_REGISTER_WINDOW(TfrmSample)

namespace {

QStringList Select(const pugi::xml_document& document, const char* xpath)
{
    QStringList found;
    for (const pugi::xpath_node& node : document.select_nodes(xpath))
        found.append(node.attribute() ? XmlText(node.attribute().value())
                                      : XmlText(node.node().name()));
    return found;
}

TEST(LanguageSwitchesTest, RecognisesTheDeveloperSwitches)
{
    using K = TLanguageResourceKind;
    const QString program = QStringLiteral("/opt/Tavlo");
    const struct
    {
        QStringList arguments;
        std::optional<K> kind;
        const char* fileName;
    } cases[] = {
        {{program, QStringLiteral("-MakeLangRes")}, K::MakeLangRes, "MakeNewLang.dat"},
        {{program, QStringLiteral("/makelangres:new.dat")}, K::MakeLangRes, "new.dat"},
        {{program, QStringLiteral("-MAKEFORMRES")}, K::MakeFormRes, "MakeForms.xml"},
        {{program, QStringLiteral("-MakeFormRes:")}, K::MakeFormRes, "MakeForms.xml"},
        {{program, QStringLiteral("file.pdf"), QStringLiteral("/MakeFormRes:C:/x/forms.xml")},
         K::MakeFormRes,
         "C:/x/forms.xml"},
        {{QStringLiteral("-MakeLangRes")}, std::nullopt, ""},
        {{program, QStringLiteral("MakeLangRes")}, std::nullopt, ""},
        {{program, QStringLiteral("-MakeLangResX")}, std::nullopt, ""},
        {{program, QStringLiteral("--MakeLangRes")}, std::nullopt, ""},
        {{program, QStringLiteral("/home/me/MakeLangRes.pdf")}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto found = FindLanguageSwitch(c.arguments);
        ASSERT_EQ(found.has_value(), c.kind.has_value()) << c.arguments.join(u' ').toStdString();
        if (found) {
            EXPECT_EQ(found->kind, *c.kind);
            EXPECT_EQ(found->fileName, QString::fromLatin1(c.fileName));
        }
    }
}

TEST(LanguageResourceGeneratorTest, LanguageResourceHoldsNamedTexts)
{
    TfrmSample window;
    TLanguageResourceGenerator generator(TLanguageResourceKind::MakeLangRes);
    generator.AddWindow(&window);
    const pugi::xml_document& document = generator.Document();

    EXPECT_EQ(Select(document, "/LanguageResource/Forms/*"),
              QStringList{QStringLiteral("frmSample")});
    EXPECT_EQ(Select(document, "/LanguageResource/Forms/frmSample/@windowTitle"),
              QStringList{QStringLiteral("Sample")});
    EXPECT_EQ(Select(document, "//grpOptions/cbKeep/@text"),
              QStringList{QStringLiteral("Keep pages")});
    EXPECT_EQ(Select(document, "//cbKeep/@toolTip"),
              QStringList{QStringLiteral("Keeps the other pages")});
    EXPECT_EQ(Select(document, "//edtRange/@placeholderText"), QStringList{QStringLiteral("1-3")});
    EXPECT_TRUE(Select(document, "//edtRange/@echoMode").isEmpty());
    EXPECT_EQ(Select(document, "//cbxLevel/Items/Item/@Caption"),
              QStringList({QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(Select(document, "//lstFiles/Columns/Column/@Caption"),
              QStringList({QStringLiteral("File name"), QStringLiteral("Range")}));
    // Objects without a name are looked through, Qt's own objects never written.
    EXPECT_EQ(Select(document, "/LanguageResource/Forms/frmSample/btnInner/@text"),
              QStringList{QStringLiteral("Inner")});
    EXPECT_TRUE(Select(document, "//*[starts-with(name(), 'qt_')]").isEmpty());
    EXPECT_TRUE(Select(document, "//QVBoxLayout").isEmpty());
}

TEST(LanguageResourceGeneratorTest, LanguageResourceLoadsBackAndRestoresTheWindow)
{
    TfrmSample original;
    TLanguageResourceGenerator generator(TLanguageResourceKind::MakeLangRes);
    generator.AddWindow(&original);
    QString xml = QString::fromUtf8(generator.ToXml());
    xml.replace(QStringLiteral("<LanguageResource>"),
                QStringLiteral("<LanguageResource Id=\"GEN\" name=\"Generated\">"));
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Generated.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml.toUtf8());
    file.close();

    TLanguageMgr manager;
    ASSERT_EQ(manager.LoadLanguages(folder.path() + QStringLiteral("/*.dat")), 1);
    ASSERT_TRUE(manager.SelectLanguage(QStringLiteral("GEN")));

    TfrmSample window;
    window.setWindowTitle(QStringLiteral("changed"));
    window.findChild<QCheckBox*>(QStringLiteral("cbKeep"))->setText(QStringLiteral("changed"));
    window.findChild<QPushButton*>(QStringLiteral("btnInner"))->setText(QStringLiteral("changed"));
    auto* level = window.findChild<QComboBox*>(QStringLiteral("cbxLevel"));
    level->addItem(QStringLiteral("3"));
    window.findChild<QTreeWidget*>(QStringLiteral("lstFiles"))
        ->setHeaderLabels({QStringLiteral("x"), QStringLiteral("y")});

    ASSERT_TRUE(manager.ApplyLanguage(&window));
    TLanguageResourceGenerator again(TLanguageResourceKind::MakeLangRes);
    again.AddWindow(&window);
    EXPECT_EQ(again.ToXml(), generator.ToXml());
}

TEST(LanguageResourceGeneratorTest, FormResourceHoldsClassesNamesAndEveryProperty)
{
    TfrmSample window;
    TLanguageResourceGenerator generator(TLanguageResourceKind::MakeFormRes);
    generator.AddWindow(&window);
    const pugi::xml_document& document = generator.Document();

    EXPECT_EQ(Select(document, "/LanguageResource/Forms/TfrmSample/@Name"),
              QStringList{QStringLiteral("frmSample")});
    EXPECT_EQ(Select(document, "//QGroupBox[@Name='grpOptions']/QCheckBox/@Name"),
              QStringList{QStringLiteral("cbKeep")});
    EXPECT_EQ(Select(document, "//QLineEdit[@Name='edtRange']/@echoMode"),
              QStringList{QStringLiteral("Password")});
    EXPECT_EQ(Select(document, "//QCheckBox/@checked"), QStringList{QStringLiteral("false")});
    EXPECT_EQ(Select(document, "//QComboBox/Items/Item/@Caption"),
              QStringList({QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_TRUE(Select(document, "//@objectName").isEmpty());

    // Every value written reads back into a window of the same kind.
    TfrmSample target;
    for (const pugi::xpath_node& node : document.select_nodes("//*[@Name]")) {
        const QString name = AttributeText(node.node(), "Name");
        QObject* object = name == target.objectName() ? &target : target.findChild<QObject*>(name);
        ASSERT_NE(object, nullptr) << name.toStdString();
        for (const pugi::xml_attribute& attribute : node.node().attributes()) {
            EXPECT_NO_THROW(
                SetPropertyFromText(object, XmlText(attribute.name()), XmlText(attribute.value())))
                << name.toStdString() << "." << attribute.name() << "=" << attribute.value();
        }
    }
}

class HandleLanguageSwitchesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            FShown.append(request);
            return MessageBoxButton::Ok;
        });
    }
    void TearDown() override { SetMessageBoxHandler({}); }

    QTemporaryDir FFolder;
    QList<MessageBoxRequest> FShown;
};

TEST_F(HandleLanguageSwitchesTest, WritesTheFileAndSaysSo)
{
    ASSERT_TRUE(TWindowRegistry::Instance().ClassNames().contains(QStringLiteral("TfrmSample")));
    const QString path = FFolder.filePath(QStringLiteral("New.dat"));
    EXPECT_TRUE(
        HandleLanguageSwitches({QStringLiteral("Tavlo"), QStringLiteral("-MakeLangRes:") + path}));
    ASSERT_EQ(FShown.size(), 1);
    EXPECT_EQ(FShown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(FShown[0].icon, MessageBoxIcon::Information);
    EXPECT_EQ(FShown[0].text,
              QStringLiteral("Make language resource file successfully complete.\r\n") + path);
    const auto document = ParseXmlFile(path);
    ASSERT_TRUE(document);
    EXPECT_TRUE(document->select_node("/LanguageResource/Forms/frmSample"));
}

TEST_F(HandleLanguageSwitchesTest, AFileThatCannotBeWrittenIsNotReportedAsWritten)
{
    const QString path = FFolder.filePath(QStringLiteral("no/such/folder/New.dat"));
    EXPECT_TRUE(
        HandleLanguageSwitches({QStringLiteral("Tavlo"), QStringLiteral("/MakeFormRes:") + path}));
    ASSERT_EQ(FShown.size(), 1);
    EXPECT_EQ(FShown[0].icon, MessageBoxIcon::Stop);
    EXPECT_FALSE(FShown[0].text.contains(QStringLiteral("successfully")));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(HandleLanguageSwitchesTest, WithoutASwitchNothingHappens)
{
    EXPECT_FALSE(HandleLanguageSwitches({QStringLiteral("Tavlo"), QStringLiteral("file.pdf")}));
    EXPECT_TRUE(FShown.isEmpty());
}

} // namespace

#include "LanguageResourceGeneratorTest.moc"
