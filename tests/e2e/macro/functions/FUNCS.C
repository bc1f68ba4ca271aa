// User functions: values, recursion, and the sixteenth nested call of one function.
int depth;
void main(void)
{
    tavoservice("VPUT", "FUNCS.FACT", fact(10));
    tavoservice("VPUT", "FUNCS.JOIN", join(join("a", "b"), join("c", "d")));
    depth = 0;
    deeper();
}
int fact(int n)
{
    if (n <= 1) return(1);
    return(n * fact(n - 1));
}
char *join(char *a, char *b)
{
    return(strcompose(a, "-", b));
}
void deeper(void)
{
    depth = depth + 1;
    tavoservice("VPUT", "FUNCS.DEPTH", depth);
    deeper();
}
