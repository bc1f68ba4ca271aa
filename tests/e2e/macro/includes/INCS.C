#include "common.h"
#include <COMMON.H>
void main(void)
{
    tavoservice("VPUT", "INCS.LIMIT", limit);
    x = 1;
}
