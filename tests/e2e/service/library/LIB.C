// Calls every kind of export of the sample library.
int h0, h8, h9, h10, h17, again;
void main(void)
{
    h0 = dllepregister("test", "test0", "FALSE", 0);
    h8 = dllepregister("test.dll", "test8", "FALSE", 8);
    h9 = dllepregister("test", "test9", "TRUE", 0);
    h10 = dllepregister("test", "test10", "TRUE", 1);
    h17 = dllepregister("test", "test17", "TRUE", 8);
    again = dllepregister("test", "test10", "FALSE", 5);
    tavoservice("VPUT", "LIB.HANDLES", strcompose(h0, h8, h9, h10, h17, again));
    tavoservice("VPUT", "LIB.R0", strcompose("[", dllepcall(h0), "]"));
    dllepcall(h8, "a", "b", "c", "d", "e", "f", "g", "h");
    tavoservice("VPUT", "LIB.R9", dllepcall(h9));
    tavoservice("VPUT", "LIB.R10", dllepcall(h10, "only"));
    tavoservice("VPUT", "LIB.R17", dllepcall(h17, 1, 2, 3, 4, 5, 6, 7, 8, 9));
}
