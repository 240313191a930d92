// Push buttons: state, mouse tracking and drawing.
#include "winkit/button.h"

#include <vector>

#include "platform/gdi.h"
#include "winkit/controls.h"
#include "winkit/smallwindow.h"
#include "winkit/theme.h"

namespace {

struct KitButton {
    int id;
    std::string text;
    PixelRect rect;
    bool hot;       // the mouse is over it
};

std::vector<KitButton> buttons;
int captured = -1;      // the id of the button the left button went down on, -1 for none
bool held = false;      // the mouse is still over the captured button

bool Inside(const PixelRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

KitButton* Find(int id)
{
    for (KitButton& b : buttons)
        if (b.id == id)
            return &b;
    return nullptr;
}

void DrawButton(GdiDC* dc, const KitButton& b)
{
    const bool pressed = b.id == captured && held;
    DrawRaisedBox(dc, b.rect, pressed ? KITLOOK_PRESSED : b.hot ? KITLOOK_HOT : KITLOOK_NORMAL);
    SelectDCFont(dc, SmallWindowFont());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, pressed || b.hot ? KITCOLOUR_TEXTHOT : KITCOLOUR_TEXT);
    const int shift = pressed ? 1 : 0;
    const PixelRect label = {b.rect.left + shift, b.rect.top + shift, b.rect.right + shift, b.rect.bottom + shift};
    DrawDCText(dc, b.text, label, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE);
}

} // namespace

bool CreateKitButton(int id, const std::string& text, int x, int y, int width, int height)
{
    if (Find(id))
        return true;
    buttons.push_back({id, text, {x, y, x + width, y + height}, false});
    InvalidateSmallWindow();
    return false;
}

bool DestroyKitButton(int id)
{
    for (auto it = buttons.begin(); it != buttons.end(); ++it) {
        if (it->id == id) {
            buttons.erase(it);
            if (captured == id)
                captured = -1;
            InvalidateSmallWindow();
            return false;
        }
    }
    return true;
}

bool KitButtonExists(int id)
{
    return Find(id) != nullptr;
}

int KitButtonCount()
{
    return (int)buttons.size();
}

PixelRect KitButtonRect(int id)
{
    const KitButton* const b = Find(id);
    return b ? b->rect : PixelRect{0, 0, 0, 0};
}

void DestroyAllButtons()
{
    buttons.clear();
    captured = -1;
}

bool HandleButtonMessage(const SysMsg& msg)
{
    if (msg.message != SYS_MOUSEMOVE && msg.message != SYS_LBUTTONDOWN && msg.message != SYS_LBUTTONUP)
        return false;
    const int x = ParamX(msg.lparam);
    const int y = ParamY(msg.lparam);
    bool changed = false;
    for (KitButton& b : buttons) {
        const bool over = Inside(b.rect, x, y);
        changed |= over != b.hot;
        b.hot = over;
    }
    KitButton* const target = captured >= 0 ? Find(captured) : nullptr;
    switch (msg.message) {
    case SYS_LBUTTONDOWN:
        for (const KitButton& b : buttons) {
            if (b.hot) {
                captured = b.id;
                held = true;
                changed = true;
                break;
            }
        }
        break;
    case SYS_MOUSEMOVE:
        if (target && held != target->hot) {
            held = target->hot;
            changed = true;
        }
        break;
    case SYS_LBUTTONUP:
        // A click is a press and a release on the same button; sliding off it cancels.
        if (target && target->hot)
            PostSysMessage(SYS_COMMAND, (uintptr_t)target->id, 0);
        changed |= captured >= 0;
        captured = -1;
        held = false;
        break;
    }
    return changed;
}

void DrawButtons(GdiDC* dc)
{
    for (const KitButton& b : buttons)
        DrawButton(dc, b);
}
