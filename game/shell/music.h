// Songs.
#pragma once

void StopAllSongs();    // stops every song that is playing
