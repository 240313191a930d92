#include "game/view/feed.h"

#include <utility>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"
#include "game/view/text.h"
#include "platform/clock.h"

std::deque<FeedMessage> messages;

namespace {

enum : int32_t { FEEDLINEHEIGHT = 30, FEEDBOTTOM = 520, FEEDLEFT = 245, FEEDWIDTH = 545 };

} // namespace

void AddMessage(const int32_t player, std::string text, const uint32_t colour, const int32_t delay)
{
    if (player != YouToInt())
        return;
    if (text.size() > FEEDMAXTEXT) {
        debuglog << "ERROR: A feed line of " << text.size() << " characters was cut to " << FEEDMAXTEXT << ".\n";
        text.resize(FEEDMAXTEXT);
    }
    debuglog << "Added message " << text << '\n';
    if (!appactive)
        return;
    messages.push_back({ std::move(text), colour, GetTicks() + static_cast<uint32_t>(delay) });
    while (messages.size() > FEEDMAXLINES)
        messages.pop_front();
}

void ExpireMessages()
{
    const uint32_t now = GetTicks();
    // The age is signed, so a line stamped ahead by its delay is kept until then plus its lifetime,
    // and the tick's wrap at 2^32 changes nothing.
    std::erase_if(messages, [now](const FeedMessage& m) {
        return static_cast<int32_t>(now - m.stamp) > static_cast<int32_t>(FEEDLIFETIME);
    });
}

bool DrawMessageFeed(const int32_t player)
{
    if (!candraw)
        return false;
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return true;
    ExpireMessages();
    int32_t y = FEEDBOTTOM - FEEDLINEHEIGHT * static_cast<int32_t>(messages.size());
    BeginText(FONT_MEDIUM);
    for (const FeedMessage& m : messages) {
        DrawBandText(FEEDLEFT, y, FEEDWIDTH, FEEDLINEHEIGHT, m.text, m.colour, FORMAT_RIGHTLINE);
        y += FEEDLINEHEIGHT;
    }
    EndText();
    return false;
}
