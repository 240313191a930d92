// Message boxes through the running back end, falling back to stderr.
#include "platform/dialog.h"

#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/cp1252.h"
#include "platform/window.h"

namespace {

MessageBoxHook messageboxhook = nullptr;

} // namespace

void ShowMessageBox(const char* caption, const char* text)
{
    if (!caption)
        caption = "";
    if (!text)
        text = "";
    if (messageboxhook) {
        messageboxhook(caption, text);
        return;
    }
    const std::string caption8 = Cp1252ToUtf8(caption);
    const std::string text8 = Cp1252ToUtf8(text);
    if (PlatformRunning() && PlatformBackend() == BACKEND_SDL
        && !sdlbackend.messagebox(caption8.c_str(), text8.c_str()))
        return;
    fprintf(stderr, "%s: %s\n", caption8.c_str(), text8.c_str());
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    messageboxhook = hook;
}
