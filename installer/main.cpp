// installer: installs the game from the package beside it, starts it and uninstalls it.
#include "installer/installer.h"

int main()
{
    // Always a real window: a person answers its questions. GORVANEL_HEADLESS stays in the
    // environment for the game that Play starts.
    return InstallerMain(BACKEND_SDL);
}
