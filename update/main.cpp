// update: brings the game in its working directory up to the newest version.
#include <cstdlib>
#include <cstring>

#include "update/updater.h"

int main(int argc, char** argv)
{
    const char* const headless = getenv("GORVANEL_HEADLESS");
    return UpdaterMain(argc, argv, headless && strcmp(headless, "1") == 0 ? BACKEND_HEADLESS : BACKEND_SDL);
}
