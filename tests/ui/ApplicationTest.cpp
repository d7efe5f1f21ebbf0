#include "shell/LanguageMgr.h"
#include "shell/MessageBox.h"
#include "ui/ApplicationLanguage.h"
#include "ui/WidgetMessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ThrowingObject : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("handler failed");
        return QObject::event(e);
    }
};

TEST(Application, AnExceptionFromAnEventHandlerIsShownAndTheProgramGoesOn)
{
    QList<MessageBoxRequest> boxes;
    SetMessageBoxHandler([&boxes](const MessageBoxRequest& r) {
        boxes.append(r);
        return MessageBoxButton::Ok;
    });
    ThrowingObject object;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    SetMessageBoxHandler({});

    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0].text, QStringLiteral("handler failed"));
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Stop);
}

// Presses the button with the given text on the next modal box that appears.
void AnswerNextBox(const QString& buttonText)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, buttonText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(u'&') == buttonText) {
                timer->stop();
                timer->deleteLater();
                button->click();
                return;
            }
        }
    });
    timer->start(10);
}

TEST(WidgetMessageBox, ShowsTheRequestedButtonsAndReturnsThePressedOne)
{
    MessageBoxRequest request = MakeMessageBoxRequest(QStringLiteral("Stop?"), MessageBoxButtons::YesNoCancel,
                                                      MessageBoxIcons::Question, 2);
    request.caption = QStringLiteral("Orvane Test");
    AnswerNextBox(QStringLiteral("No"));
    EXPECT_EQ(ShowWidgetMessageBox(request), MessageBoxButton::No);
    AnswerNextBox(QStringLiteral("Cancel"));
    EXPECT_EQ(ShowWidgetMessageBox(request), MessageBoxButton::Cancel);
}

// The box's buttons are Qt's: they speak the selected language through Qt's translations.
TEST(WidgetMessageBox, ButtonsFollowTheSelectedLanguage)
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed";
    ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
    ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("DEU")));
    ApplyLanguageToApplication();
    const MessageBoxRequest request = MakeMessageBoxRequest(QStringLiteral("?"), MessageBoxButtons::OkCancel, 0, 0);
    AnswerNextBox(QStringLiteral("Abbrechen"));
    EXPECT_EQ(ShowWidgetMessageBox(request), MessageBoxButton::Cancel);
    LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none"));
    ApplyLanguageToApplication();
    AnswerNextBox(QStringLiteral("Cancel"));
    EXPECT_EQ(ShowWidgetMessageBox(request), MessageBoxButton::Cancel);
}

TEST(WidgetMessageBox, EscapeAnswersCancelOrTheOnlyButton)
{
    for (const int buttons : {MessageBoxButtons::OkCancel, MessageBoxButtons::Ok}) {
        const MessageBoxRequest request = MakeMessageBoxRequest(QStringLiteral("?"), buttons, 0, 0);
        QTimer::singleShot(50, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        const MessageBoxButton expected = buttons == MessageBoxButtons::Ok ? MessageBoxButton::Ok : MessageBoxButton::Cancel;
        EXPECT_EQ(ShowWidgetMessageBox(request), expected);
    }
}

} // namespace
