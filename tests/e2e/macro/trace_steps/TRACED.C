int i;
void main(void)
{
    trace("on");
    i = 1;
    i = i + 1;
    tavoservice("VPUT", "TRACED.I", i);
}
