#include "shell/ApplicationTitle.h"
#include "shell/MessageBox.h"

#include <gtest/gtest.h>

namespace {

using B = MessageBoxButton;

class MessageBoxTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SetMessageBoxHandler({});
        SetApplicationTitle({});
    }
};

TEST_F(MessageBoxTest, DecodesButtonsIconAndDefault)
{
    const struct
    {
        int buttons, icon, defaultCode;
        QList<B> expectedButtons;
        MessageBoxIcon expectedIcon;
        B expectedDefault;
    } cases[] = {
        {MessageBoxButtons::Ok, MessageBoxIcons::Information, 0, {B::Ok}, MessageBoxIcon::Information, B::Ok},
        {1, 1, 1, {B::Ok}, MessageBoxIcon::Information, B::Ok},
        {99, 99, 99, {B::Ok}, MessageBoxIcon::Information, B::Ok},
        {MessageBoxButtons::OkCancel, MessageBoxIcons::Question, 2, {B::Ok, B::Cancel}, MessageBoxIcon::Question, B::Cancel},
        {MessageBoxButtons::YesNo, MessageBoxIcons::Stop, 0, {B::Yes, B::No}, MessageBoxIcon::Stop, B::Yes},
        {MessageBoxButtons::YesNo, MessageBoxIcons::Exclamation, 2, {B::Yes, B::No}, MessageBoxIcon::Exclamation, B::No},
        {MessageBoxButtons::YesNoCancel, MessageBoxIcons::Question, 3, {B::Yes, B::No, B::Cancel}, MessageBoxIcon::Question, B::Cancel},
        // A default beyond the buttons shown falls back to the first.
        {MessageBoxButtons::YesNo, MessageBoxIcons::Question, 4, {B::Yes, B::No}, MessageBoxIcon::Question, B::Yes},
        {MessageBoxButtons::Ok, MessageBoxIcons::Question, 2, {B::Ok}, MessageBoxIcon::Question, B::Ok},
    };
    for (const auto& c : cases) {
        const MessageBoxRequest r = MakeMessageBoxRequest(QStringLiteral("t"), c.buttons, c.icon, c.defaultCode);
        EXPECT_EQ(r.buttons, c.expectedButtons) << c.buttons;
        EXPECT_EQ(r.icon, c.expectedIcon) << c.icon;
        EXPECT_EQ(r.defaultButton, c.expectedDefault) << c.buttons << "/" << c.defaultCode;
    }
}

TEST_F(MessageBoxTest, AsksTheInstalledHandlerWithTheApplicationTitle)
{
    SetApplicationTitle(QStringLiteral("Orvane Splitter"));
    MessageBoxRequest seen;
    SetMessageBoxHandler([&seen](const MessageBoxRequest& r) {
        seen = r;
        return B::No;
    });
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Stop now?"), MessageBoxButtons::YesNo, MessageBoxIcons::Question), 7);
    EXPECT_EQ(seen.caption, QStringLiteral("Orvane Splitter"));
    EXPECT_EQ(seen.text, QStringLiteral("Stop now?"));
}

TEST_F(MessageBoxTest, WithoutHandlerAnswersTheDefaultButton)
{
    EXPECT_EQ(ShowMessageBox(QStringLiteral("?"), MessageBoxButtons::YesNoCancel, 0, 2), 7);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("!")), 1);
}

} // namespace
