#include "ui/frmPassword.h"
#include "ui/DialogTestSupport.h"
#include "shell/ApplicationTitle.h"
#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "ui/CustomizationLinks.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QLineEdit* PasswordEdit(QWidget& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
}

QPushButton* Button(QWidget& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(frmPasswordTest, AskDocumentPasswordReturnsTheTextOnlyOnOK)
{
    const struct
    {
        const char* name;
        std::function<void(TfrmPassword&)> act;
        bool confirmed;
    } cases[] = {
        {"typed, Enter",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("s3cret"));
             QTest::keyClick(PasswordEdit(d), Qt::Key_Return);
         },
         true},
        {"typed, OK clicked",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("s3cret"));
             QTest::mouseClick(Button(d, "btnOK"), Qt::LeftButton);
         },
         true},
        {"typed, Enter while Cancel has the focus",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("s3cret"));
             Button(d, "btnCancel")->setFocus();
             QTest::keyClick(Button(d, "btnCancel"), Qt::Key_Enter);
         },
         true},
        {"typed, Esc",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("s3cret"));
             QTest::keyClick(PasswordEdit(d), Qt::Key_Escape);
         },
         false},
        {"typed, Cancel clicked",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("s3cret"));
             QTest::mouseClick(Button(d, "btnCancel"), Qt::LeftButton);
         },
         false},
        {"Enter on an empty password does nothing, then Esc",
         [](TfrmPassword& d) {
             QTest::keyClick(PasswordEdit(d), Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             QTest::keyClick(PasswordEdit(d), Qt::Key_Escape);
         },
         false},
        {"typed and erased, Enter does nothing, then the title bar closes",
         [](TfrmPassword& d) {
             QTest::keyClicks(PasswordEdit(d), QStringLiteral("ab"));
             QTest::keyClick(PasswordEdit(d), Qt::Key_Backspace);
             QTest::keyClick(PasswordEdit(d), Qt::Key_Backspace);
             QTest::keyClick(PasswordEdit(d), Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             d.close();
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString password = QStringLiteral("untouched");
        WhenModalShows<TfrmPassword>(c.act);
        EXPECT_EQ(AskDocumentPassword(password), c.confirmed);
        EXPECT_EQ(password, c.confirmed ? QStringLiteral("s3cret") : QStringLiteral("untouched"));
    }
}

TEST(frmPasswordTest, OKIsEnabledOnlyWithTextAndEveryCharacterShowsAsAStar)
{
    TfrmPassword dialog;
    QLineEdit* edit = PasswordEdit(dialog);
    QPushButton* ok = Button(dialog, "btnOK");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(edit, QStringLiteral("p 1"));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(edit->displayText(), QStringLiteral("***"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_FALSE(ok->isEnabled());
}

TEST(frmPasswordTest, F1OpensTheHelpOnProtectedFilesAndKeepsTheDialogOpen)
{
    // No customization file gives an online help page: the shipped page's section serves.
    ASSERT_TRUE(CustomizationValues().Values().HelpOnlinePage.isEmpty());
    ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 1);
    ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("ENG")));
    QStringList opened;
    SetCustomizationLinkOpener([&opened](const QString& address) {
        opened.append(address);
        return true;
    });
    TfrmPassword dialog;
    dialog.show();
    QTest::keyClick(PasswordEdit(dialog), Qt::Key_F1);
    SetCustomizationLinkOpener({});
    LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral("/Languages/English.html#password"))) << opened[0].toStdString();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(frmPasswordTest, CarriesTheApplicationTitleAndSitsInTheMiddleOfTheMainWindow)
{
    SetApplicationTitle(QStringLiteral("Split Test"));
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 544, 603);
    TfrmPassword dialog(&mainWindow);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Split Test"));
    EXPECT_EQ(dialog.size(), QSize(331, 144));
    EXPECT_LE((dialog.geometry().center() - mainWindow.geometry().center()).manhattanLength(), 1);
}

class frmPasswordLanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
        ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("DEU")));
    }
    // Leaves no current language behind for the other tests.
    void TearDown() override { LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none")); }
};

TEST_F(frmPasswordLanguageTest, TextsComeFromTheCurrentLanguage)
{
    TfrmPassword dialog;
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("Bitte geben Sie das Kennwort der PDF-Datei ein."));
    EXPECT_EQ(Button(dialog, "btnCancel")->text(), QStringLiteral("Abbrechen"));
}

} // namespace
