// The shell's services linked whole, with only the platform and the common code below them. It links
// only while no service reaches the rules, the players, the view, the screens or the start-up.
#include <cstdio>

int main()
{
    std::puts("The shell's services link without the game above them.");
    return 0;
}
