// Selectors and sub-selectors the service refuses, and the pause limits.
void main(void)
{
    tavoservice("VPUT", "BAD.R31", tavoservice("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE"));
    tavoservice("VPUT", "BAD.R32", tavoservice("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF"));
    tavoservice("nosuch");
    tavoservice("QUERY", "nosuch_query");
    tavoservice("QUERY", "");
    tavoservice("SLEEP", 0);
    tavoservice("SLEEP", 15001);
    tavoservice("SLEEP", "1");
    tavoservice("VPUT", "BAD.LOWER", "lower case works");
    tavoservice("VPUT", "BAD.READ", tavoservice("vget", "bad.lower"));
    tavoservice("VPUT", "BAD.EMPTY", strcompose("[", tavoservice(""), "]"));
    tavoservice("VGET", "x");
    tavoservice("VPUT", "BAD.END", "reached");
}
