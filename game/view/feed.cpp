#include "game/view/feed.h"

#include <utility>

#include "game/model/localplayer.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "platform/clock.h"

std::deque<FeedMessage> messages;

void AddMessage(const int32_t player, std::string text, const uint32_t colour, const int32_t delay)
{
    if (player != YouToInt())
        return;
    debuglog << "Added message " << text << '\n';
    if (appactive)
        messages.push_back({ std::move(text), colour, GetTicks() + static_cast<uint32_t>(delay) });
}
