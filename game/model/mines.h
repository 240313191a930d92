// Gold mines: their income, and the host's list of those still to guard. A mine's owner byte holds its
// owner's player number (code - FIRSTCODE), which stays the same when other records come and go;
// MINENOBODY (also the neutral side's number) is nobody.
#pragma once
#include <cstdint>
#include <vector>

struct MineSquare {
    int32_t x, y;
};

extern std::vector<MineSquare> minelist;    // host: the gold mines still without guards

int32_t CountMines(int32_t player);                 // mines the player owns; 0 for an index not in p
void AddMineIncome(int32_t player, int32_t amount); // gold += amount for each of them
