// while, switch (digits compare as numbers, no fall-through, default) and nested blocks.
int i, sum;
char *kinds;
void main(void)
{
    i = 0;
    sum = 0;
    kinds = "";
    while (i < 12) {
        i = i + 1;
        sum = sum + i;
        switch (i) {
            case 1, 007: strcat(kinds, "a"); break;
            case 10: strcat(kinds, "t"); break;
            default: strcat(kinds, "."); break;
        }
    }
    tavoservice("VPUT", "LOOPS.SUM", sum);
    tavoservice("VPUT", "LOOPS.KINDS", kinds);
}
