// Deployment: the units bought in the shop placed one by one near the player's camp.
#pragma once

bool BeginDeployFrame();        // GAME_BEGINDEPLOY
bool ShadeMapFrame();           // GAME_SHADEMAP: the squares he may deploy on
bool PrepareDeployFrame();      // GAME_PREPAREDEPLOY: the next bought unit
bool DeployFrame();             // GAME_DEPLOY: one frame of the deployment screen
