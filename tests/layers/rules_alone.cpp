// The rules and the players linked whole, with nothing above them: only the shell's services, the
// platform and the common code. It links only while no rule reaches the view or the screens.
#include <cstdio>

int main()
{
    std::puts("The rules link without the view and the screens.");
    return 0;
}
