// Message boxes: captured by the hook, or written to stderr when there is no box to show.
#include <gtest/gtest.h>

#include <string>

#include "platform/dialog.h"
#include "platform/window.h"

namespace {

std::string lastcaption;
std::string lasttext;
int boxes = 0;

void Capture(const char* caption, const char* text)
{
    lastcaption = caption;
    lasttext = text;
    boxes++;
}

TEST(Dialog, HookReceivesTheBox)
{
    boxes = 0;
    SetMessageBoxHook(Capture);
    ShowMessageBox("Gorvanel", "Could not open \"Tessarine.dll\".");
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(lastcaption, "Gorvanel");
    EXPECT_EQ(lasttext, "Could not open \"Tessarine.dll\".");
}

TEST(Dialog, WithoutAWindowSystemTheBoxGoesToStderrAsUtf8)
{
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    testing::internal::CaptureStderr();
    ShowMessageBox("Gorvanel", "Caf\xE9 \x80");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Gorvanel: Caf\xC3\xA9 \xE2\x82\xAC\n");
    StopPlatform();
}

} // namespace
