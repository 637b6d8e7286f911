// Plinx_Launcher's process entry: exit status 0 when the game was started, 1 when not.
#include "Launcher.h"

int main(int argc, char **argv)
{
    return LauncherWinMain("") == 1 ? 0 : 1;
}
