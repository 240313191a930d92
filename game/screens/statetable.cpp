#include "game/screens/statetable.h"

#include <array>

#include "game/screens/credits.h"
#include "game/screens/deploy.h"
#include "game/screens/help.h"
#include "game/screens/intro.h"
#include "game/screens/join.h"
#include "game/screens/lobby.h"
#include "game/screens/menu.h"
#include "game/screens/options.h"
#include "game/screens/setup.h"
#include "game/screens/shop.h"
#include "game/screens/states.h"
#include "game/screens/summary.h"
#include "game/screens/turn.h"

namespace {

struct StateCase {
    int32_t state;
    StateFrame frame;
};

// Every state with a case. The numbers without one (12, 21, 39, 40, 44, 59, 61, 62) name nothing; the
// computer player's two states (32, 33) run after the Esc keys instead (runscreen.cpp); a client waiting
// for its placement (58) draws nothing, so the last picture stays.
constexpr StateCase statecases[] = {
    { GAME_EXIT, ExitFrame },
    { GAME_LOBBY, LobbyFrame },
    { GAME_ERRORSCREEN, ErrorScreenFrame },
    { GAME_MAINMENU, MainMenuFrame },
    { GAME_HOST, HostFrame },
    { GAME_WAITSERVER, WaitServerFrame },
    { GAME_JOIN, JoinFrame },
    { GAME_ENTERNAME, EnterNameFrame },
    { GAME_ENTERIP, EnterIpFrame },
    { GAME_CONNECT, ConnectFrame },
    { GAME_CONNECTING, ConnectingFrame },
    { GAME_ENTERLOBBY, EnterLobbyFrame },
    { GAME_SENDMAP, SendMapFrame },
    { GAME_PREWARLORD, PreWarlordFrame },
    { GAME_SELECTWARLORD, SelectWarlordFrame },
    { GAME_PRESHOP, PreShopFrame },
    { GAME_SHOP, ShopFrame },
    { GAME_BEGINDEPLOY, BeginDeployFrame },
    { GAME_PREPAREDEPLOY, PrepareDeployFrame },
    { GAME_DEPLOY, DeployFrame },
    { GAME_ENDTURN, EndTurnFrame },
    { GAME_NEXTUNIT, NextUnitFrame },
    { GAME_UNITTURN, UnitTurnFrame },
    { GAME_WATCH, WatchFrame },
    { GAME_WAITPLAYERS, WaitPlayersFrame },
    { GAME_STARTTURN, StartTurnFrame },
    { GAME_REQUESTSENT, RequestSentFrame },
    { GAME_WAITRESULT, WaitResultFrame },
    { GAME_CREATEMAP, CreateMapFrame },
    { GAME_SHADEMAP, ShadeMapFrame },
    { GAME_CREATENEUTRALS, CreateNeutralsFrame },
    { GAME_PLACENEUTRALS, PlaceNeutralsFrame },
    { GAME_MENUOPEN, MenuOpenFrame },
    { GAME_MENU, MenuFrame },
    { GAME_RESUME, ResumeFrame },
    { GAME_LEAVEGAME, LeaveGameFrame },
    { GAME_OPTIONSOPEN, OptionsOpenFrame },
    { GAME_OPTIONS, OptionsFrame },
    { GAME_HELPOPEN, HelpOpenFrame },
    { GAME_HELP, HelpFrame },
    { GAME_VICTORY, VictoryFrame },
    { GAME_VICTORYSCREEN, VictoryScreenFrame },
    { GAME_YOURTURN, YourTurnFrame },
    { GAME_SELECTMONEY, SelectMoneyFrame },
    { GAME_TOMAINMENU, ToMainMenuFrame },
    { GAME_MAINMENUFADE, MainMenuFadeFrame },
    { GAME_CREDITSOPEN, CreditsOpenFrame },
    { GAME_CREDITSFADE, CreditsFadeFrame },
    { GAME_CREDITS, CreditsFrame },
    { GAME_ENDTURNOPEN, EndTurnOpenFrame },
    { GAME_ENDTURNCONFIRM, EndTurnConfirmFrame },
    { GAME_INTRO, IntroFrame },
    { GAME_DAYSUMMARYOPEN, DaySummaryOpenFrame },
    { GAME_DAYSUMMARY, DaySummaryFrame },
    { GAME_INTROEND, IntroEndFrame },
    { GAME_UPDATE, UpdateFrame },
    { GAME_QUIT, QuitFrame },
};

constexpr std::array<StateFrame, GAME_LASTSTATE + 1> BuildTable()
{
    std::array<StateFrame, GAME_LASTSTATE + 1> table{};
    for (const StateCase& c : statecases)
        table[c.state] = c.frame;
    return table;
}

constexpr std::array<StateFrame, GAME_LASTSTATE + 1> stateframes = BuildTable();

} // namespace

StateFrame FrameOfState(int32_t state)
{
    if (state < 0 || state > GAME_LASTSTATE)
        return nullptr;
    return stateframes[state];
}
