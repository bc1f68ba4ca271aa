#include "util.h"

static int twice(int n) { return add(n, n); }

int main(void)
{
    return twice(add(1, 2)) == 6 ? 0 : 1;
}
