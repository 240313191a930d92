// Deployment: the units bought in the shop placed one by one near the player's camp.
#pragma once
#include <cstdint>
#include <string>

extern std::string deploycaption;       // "<player>, deploy your units."

bool BeginDeployFrame();        // GAME_BEGINDEPLOY
bool ShadeMapFrame();           // GAME_SHADEMAP: the squares he may deploy on
bool PrepareDeployFrame();      // GAME_PREPAREDEPLOY: the next bought unit
bool DeployFrame();             // GAME_DEPLOY: one frame of the deployment screen
// One frame of the deployment screen for player (the local one): the board with the square under the
// cursor marked as the unit may or may not go there, a press placing it, the bought units and the
// panels, the unit's picture as the cursor.
void DeployScreen(int32_t player);
