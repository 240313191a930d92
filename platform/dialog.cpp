// Message boxes through the running back end, falling back to stderr.
#include "platform/dialog.h"

#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/cp1252.h"
#include "platform/window.h"

namespace {

MessageBoxHook messageboxhook = nullptr;
AskBoxHook askboxhook = nullptr;

} // namespace

void ShowMessageBox(const char* caption, const char* text)
{
    AskMessageBox(caption, text, BOXICON_ERROR, BOXBUTTONS_OK);
}

BoxAnswer AskMessageBox(const char* caption, const char* text, BoxIcon icon, BoxButtons buttons)
{
    if (!caption)
        caption = "";
    if (!text)
        text = "";
    if (askboxhook)
        return askboxhook(caption, text, icon, buttons);
    const BoxAnswer unanswered = buttons == BOXBUTTONS_YESNO ? BOXANSWER_NO : BOXANSWER_OK;
    if (messageboxhook) {
        messageboxhook(caption, text);
        return unanswered;
    }
    const std::string caption8 = Cp1252ToUtf8(caption);
    const std::string text8 = Cp1252ToUtf8(text);
    if (PlatformRunning() && PlatformBackend() == BACKEND_SDL) {
        const int answer = sdlbackend.messagebox(caption8.c_str(), text8.c_str(), icon, buttons);
        if (answer >= 0)
            return (BoxAnswer)answer;
    }
    fprintf(stderr, "%s: %s\n", caption8.c_str(), text8.c_str());
    return unanswered;
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    messageboxhook = hook;
}

void SetAskBoxHook(AskBoxHook hook)
{
    askboxhook = hook;
}
