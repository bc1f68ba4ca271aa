BOOL flag;
int n;
void main(void)
{
    n = 2147483647;
    tavoservice("VPUT", "BADRUN.STEP", "before");
    n = n + 1;
    tavoservice("VPUT", "BADRUN.STEP", "after");
}
