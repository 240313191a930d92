// Message boxes: the start-up failures' only way to tell the player what went wrong.
#pragma once

typedef void (*MessageBoxHook)(const char* caption, const char* text);

void ShowMessageBox(const char* caption, const char* text);    // an error box with CP1252 texts; stderr when no box can be shown
void SetMessageBoxHook(MessageBoxHook hook);                    // tests: the hook receives every box instead (null: show them again)
