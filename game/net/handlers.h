// The handler of each message kind, called by ProcessMessage once the kind, the source and the length
// have been checked. Each handler checks its fields' values before anything changes.
#pragma once
#include "game/net/kinds.h"

// Joining.
void HandleConnect(const Incoming& in);
void HandleVersion(const Incoming& in);
void HandleCreatePlayer(const Incoming& in);
// Lobby and set-up.
void HandleDropPlayer(const Incoming& in);
void HandleChat(const Incoming& in);
void HandleSetGs(const Incoming& in);
void HandleStop(const Incoming& in);
void HandleMapData(const Incoming& in);
void HandleWorldType(const Incoming& in);
void HandleWarlordSelected(const Incoming& in);
void HandleGameSetting(const Incoming& in);
void HandleDoneShopping(const Incoming& in);
void HandleWinner(const Incoming& in);
void HandleSetMoney(const Incoming& in);
void HandleForceSetMoney(const Incoming& in);
// Play.
void HandleCreateUnit(const Incoming& in);
void HandleDeployUnit(const Incoming& in);
void HandleBeginNextTurn(const Incoming& in);
void HandleNextTurn(const Incoming& in);
void HandleAdvanceDay(const Incoming& in);
void HandleMoveRequest(const Incoming& in);
void HandleMove(const Incoming& in);
void HandleNextUnit(const Incoming& in);
void HandleUpgradeUnit(const Incoming& in);
void HandleAttackRequest(const Incoming& in);
void HandleAttack(const Incoming& in);
void HandleSpellRequest(const Incoming& in);
void HandleCastSpell(const Incoming& in);
void HandleResist(const Incoming& in);
void HandleKillUnit(const Incoming& in);
void HandleAddExperience(const Incoming& in);
