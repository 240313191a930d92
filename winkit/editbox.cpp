// Edit boxes: text, caret, the first character shown, and drawing.
#include "winkit/editbox.h"

#include <vector>

#include "platform/gdi.h"
#include "winkit/controls.h"
#include "winkit/smallwindow.h"
#include "winkit/theme.h"

namespace {

constexpr int margin = 4;   // between the frame and the text

struct KitEdit {
    int id;
    PixelRect rect;
    std::string text;
    size_t caret;
    size_t first;           // the first character shown
};

std::vector<KitEdit> edits;
int focus = -1;             // the id of the box with the keyboard

KitEdit* Find(int id)
{
    for (KitEdit& e : edits)
        if (e.id == id)
            return &e;
    return nullptr;
}

int TextWidth(const std::string& text)
{
    GdiDC* const dc = SmallWindowDC();
    if (!dc)
        return 0;
    SelectDCFont(dc, SmallWindowFont());
    return MeasureDCText(dc, text).width;
}

int FieldWidth(const KitEdit& e)
{
    return e.rect.right - e.rect.left - 2 * margin;
}

// Scrolls so that the caret lies within the field.
void ShowCaret(KitEdit& e)
{
    if (e.first > e.caret)
        e.first = e.caret;
    while (e.first < e.caret && TextWidth(e.text.substr(e.first, e.caret - e.first)) > FieldWidth(e))
        e.first++;
}

// The caret place nearest to x pixels into the shown text.
size_t CaretAt(const KitEdit& e, int x)
{
    size_t best = e.first;
    int bestdistance = x < 0 ? -x : x;
    for (size_t i = e.first + 1; i <= e.text.size(); i++) {
        const int w = TextWidth(e.text.substr(e.first, i - e.first));
        const int distance = w > x ? w - x : x - w;
        if (distance < bestdistance) {
            best = i;
            bestdistance = distance;
        }
        if (w > x)
            break;
    }
    return best;
}

bool HandleKey(KitEdit& e, uint32_t key)
{
    switch (key) {
    case SYSKEY_BACK:
        if (e.caret == 0)
            return false;
        e.text.erase(--e.caret, 1);
        break;
    case SYSKEY_DELETE:
        if (e.caret >= e.text.size())
            return false;
        e.text.erase(e.caret, 1);
        break;
    case SYSKEY_LEFT:
        if (e.caret == 0)
            return false;
        e.caret--;
        break;
    case SYSKEY_RIGHT:
        if (e.caret >= e.text.size())
            return false;
        e.caret++;
        break;
    case SYSKEY_HOME:
        e.caret = 0;
        break;
    case SYSKEY_END:
        e.caret = e.text.size();
        break;
    default:
        return false;
    }
    ShowCaret(e);
    return true;
}

void DrawEdit(GdiDC* dc, const KitEdit& e)
{
    const bool focused = e.id == focus;
    DrawSunkenBox(dc, e.rect, focused);
    SelectDCFont(dc, SmallWindowFont());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, KITCOLOUR_INK);
    const PixelRect field = {e.rect.left + margin, e.rect.top + 1, e.rect.right - margin, e.rect.bottom - 1};
    DrawDCText(dc, e.text.substr(e.first), field, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    if (!focused)
        return;
    const int x = field.left + TextWidth(e.text.substr(e.first, e.caret - e.first));
    GdiBrush* const ink = MakeBrush(KITCOLOUR_INK);
    FillDCRect(dc, {x, e.rect.top + 4, x + 1, e.rect.bottom - 4}, ink);
    FreeBrush(ink);
}

} // namespace

bool CreateKitEdit(int id, const PixelRect& rect, const std::string& text)
{
    if (Find(id))
        return true;
    edits.push_back({id, rect, text, text.size(), 0});
    ShowCaret(edits.back());
    focus = id;
    InvalidateSmallWindow();
    return false;
}

bool DestroyKitEdit(int id)
{
    for (auto it = edits.begin(); it != edits.end(); ++it) {
        if (it->id == id) {
            edits.erase(it);
            if (focus == id)
                focus = edits.empty() ? -1 : edits.back().id;
            InvalidateSmallWindow();
            return false;
        }
    }
    return true;
}

bool KitEditExists(int id)
{
    return Find(id) != nullptr;
}

std::string KitEditText(int id)
{
    const KitEdit* const e = Find(id);
    return e ? e->text : "";
}

void SetKitEditText(int id, const std::string& text)
{
    KitEdit* const e = Find(id);
    if (!e)
        return;
    e->text = text;
    e->caret = text.size();
    e->first = 0;
    ShowCaret(*e);
    InvalidateSmallWindow();
}

size_t KitEditCaret(int id)
{
    const KitEdit* const e = Find(id);
    return e ? e->caret : 0;
}

size_t KitEditFirstShown(int id)
{
    const KitEdit* const e = Find(id);
    return e ? e->first : 0;
}

void DestroyAllEdits()
{
    edits.clear();
    focus = -1;
}

bool HandleEditMessage(const SysMsg& msg)
{
    if (msg.message == SYS_LBUTTONDOWN) {
        const int x = ParamX(msg.lparam);
        const int y = ParamY(msg.lparam);
        for (KitEdit& e : edits) {
            if (x >= e.rect.left && x < e.rect.right && y >= e.rect.top && y < e.rect.bottom) {
                focus = e.id;
                e.caret = CaretAt(e, x - e.rect.left - margin);
                return true;
            }
        }
        return false;
    }
    KitEdit* const e = focus >= 0 ? Find(focus) : nullptr;
    if (!e)
        return false;
    if (msg.message == SYS_KEYDOWN)
        return HandleKey(*e, (uint32_t)msg.wparam);
    if (msg.message == SYS_CHAR) {
        const uint8_t c = (uint8_t)msg.wparam;
        if (c < 0x20 || c == 0x7F)
            return false;
        e->text.insert(e->caret++, 1, (char)c);
        ShowCaret(*e);
        return true;
    }
    return false;
}

void DrawEdits(GdiDC* dc)
{
    for (const KitEdit& e : edits)
        DrawEdit(dc, e);
}
