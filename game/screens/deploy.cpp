// Deployment. For now the least that lets a game run: each state does its work without drawing.
#include "game/screens/deploy.h"

#include "game/screens/setupsteps.h"

bool BeginDeployFrame()
{
    BeginDeployStep();
    return false;
}

bool ShadeMapFrame()
{
    ShadeMapStep();
    return false;
}

bool PrepareDeployFrame()
{
    PrepareDeployStep();
    return false;
}

bool DeployFrame()
{
    return false;
}
