// The desktop emulator. It reads no command line.
#include "shell/shell.h"

int main()
{
    return lumvexor::runEmulator();
}
