// What the small window asks of its controls (internal to winkit/).
#pragma once
#include "platform/gdi.h"
#include "platform/window.h"

bool HandleButtonMessage(const SysMsg& msg);    // mouse messages; true when a button's look changed
bool HandleEditMessage(const SysMsg& msg);      // mouse and keys; true when an edit box's look changed
void DrawButtons(GdiDC* dc);
void DrawEdits(GdiDC* dc);
void DestroyAllButtons();
void DestroyAllEdits();
