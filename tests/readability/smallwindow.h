// The readability check of a small window (the updater's, the installer's): its texts as painted, then
// each button's caption with the mouse over it. Header-only: the programs' tests link the window kit.
#pragma once
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/readability/readability.h"
#include "winkit/button.h"
#include "winkit/smallwindow.h"

// What reads too faintly in the window as it stands, with buttons (ids) that may be on it.
inline std::vector<std::string> FaintSmallWindowTexts(const std::vector<int>& buttons)
{
    const auto paint = [] {
        std::vector<DrawnText> drawn;
        RecordDrawnText(&drawn);
        PaintSmallWindow();
        RecordDrawnText(nullptr);
        return drawn;
    };
    std::vector<PixelRect> captions;
    for (const int id : buttons)
        if (KitButtonExists(id))
            captions.push_back(KitButtonRect(id));
    const auto goal = [&captions](const DrawnText& t) {
        for (const PixelRect& r : captions)
            if (t.ink.left >= r.left && t.ink.right <= r.right && t.ink.top >= r.top && t.ink.bottom <= r.bottom)
                return ContrastGoal(t, true);
        return ContrastGoal(t, false);
    };
    std::vector<DrawnText> drawn = paint();
    std::vector<std::string> faint = FaintTexts(drawn, goal);
    if (drawn.empty())
        faint.push_back("nothing written");
    for (const PixelRect& r : captions) {
        InjectMouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        int code = 0;
        PumpSmallWindow(&code);
        for (const std::string& f : FaintTexts(paint(), goal))
            faint.push_back("hovered: " + f);
    }
    InjectMouseMove(0, 0);
    int code = 0;
    PumpSmallWindow(&code);
    return faint;
}
