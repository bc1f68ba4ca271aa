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
    put("CALC.NUMERIC", "no");
    if (n > "9") put("CALC.NUMERIC", "yes");
    put("CALC.STRING", "no");
    if (s > "9") put("CALC.STRING", "yes");
    put("CALC.VALUES", "no");
    if (10 > 9) put("CALC.VALUES", "yes");
    put("CALC.TEXTS", "no");
    if ("abc" > "abd") put("CALC.TEXTS", "yes");
    put("CALC.CHAIN", "no");
    if (1 == 2 && 2 == 2 || 3 == 3) put("CALC.CHAIN", "yes");
}
void put(char *name, char *value)
{
    tavoservice("VPUT", name, value);
}
