// LIBTEST
// Shows the calls into the sample library libtest.so: an entry point that returns its parameters
// as a text, one that returns a fixed text, and one that shows its parameters in a message box.
// The results are kept in LIBTEST.TEXT and LIBTEST.FIXED.

int h12, h9, h3;
char *text, *fixed;

void main(void)
{
    h12 = dllepregister("test", "test12", "TRUE", 3);
    h9 = dllepregister("test", "test9", "TRUE", 0);
    h3 = dllepregister("test", "test3", "FALSE", 3);
    text = dllepcall(h12, "alpha", "beta", "gamma");
    fixed = dllepcall(h9);
    tavoservice("VPUT", "LIBTEST.TEXT", text);
    tavoservice("VPUT", "LIBTEST.FIXED", fixed);
    dllepcall(h3, "one", "two", "three");
    msg(strcompose("LIBTEST: ", text, " / ", fixed));
}
