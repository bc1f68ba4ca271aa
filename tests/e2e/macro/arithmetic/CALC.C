// Arithmetic and comparisons: every result goes to a store variable the script prints.
int n;
char *s;
void main(void)
{
    put("CALC.PREC", 2 + 3 * 4);
    put("CALC.PARENS", 2 + (3 * 4));
    put("CALC.DIV", -7 / 2);
    put("CALC.MOD", -7 % 3);
    put("CALC.TEXT", "12abc" + 1);
    n = 10;
    s = "10";
    put("CALC.NUMERIC", answer(n > "9"));
    put("CALC.STRING", answer(s > "9"));
    put("CALC.VALUES", answer(10 > 9));
    put("CALC.TEXTS", answer("abc" > "abd"));
    put("CALC.CHAIN", answer(1 == 2 && 2 == 2 || 3 == 3));
}
void put(char *name, char *value)
{
    tavoservice("VPUT", name, value);
}
char *answer(BOOL b)
{
    if (b) return("yes");
    return("no");
}
