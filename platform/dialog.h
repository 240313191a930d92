// Message boxes: the start-up failures' only way to tell the player what went wrong, and the small
// windows' questions.
#pragma once

enum BoxIcon { BOXICON_ERROR, BOXICON_INFORMATION, BOXICON_QUESTION };
enum BoxButtons { BOXBUTTONS_OK, BOXBUTTONS_YESNO };
enum BoxAnswer { BOXANSWER_OK, BOXANSWER_YES, BOXANSWER_NO };

typedef void (*MessageBoxHook)(const char* caption, const char* text);
typedef BoxAnswer (*AskBoxHook)(const char* caption, const char* text, BoxIcon icon, BoxButtons buttons);

void ShowMessageBox(const char* caption, const char* text);    // an error box with CP1252 texts; stderr when no box can be shown
// A box with an icon and buttons over the window, waiting for the answer; CP1252 texts; only on the
// window's thread. With no box to show it goes to stderr and answers OK, or No to a question.
BoxAnswer AskMessageBox(const char* caption, const char* text, BoxIcon icon, BoxButtons buttons);
void SetMessageBoxHook(MessageBoxHook hook);                    // tests: the hook receives every box instead (null: show them again)
void SetAskBoxHook(AskBoxHook hook);                            // tests: the hook receives every box and answers (before the other hook)
