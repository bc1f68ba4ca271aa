// Calls every export of the sample library: test0..test8 show their parameters in message boxes
// and return nothing, test9..test17 return their parameters as a text.
int h0, h1, h2, h3, h4, h5, h6, h7, h8, h9, h10, h11, h12, h13, h14, h15, h16, h17, again;
char *r;

void main(void)
{
    h0 = dllepregister("test", "test0", "FALSE", 0);
    h1 = dllepregister("test", "test1", "FALSE", 1);
    h2 = dllepregister("test", "test2", "FALSE", 2);
    h3 = dllepregister("test", "test3", "FALSE", 3);
    h4 = dllepregister("test", "test4", "FALSE", 4);
    h5 = dllepregister("test", "test5", "FALSE", 5);
    h6 = dllepregister("test", "test6", "FALSE", 6);
    h7 = dllepregister("test", "test7", "FALSE", 7);
    h8 = dllepregister("test", "test8", "FALSE", 8);
    h9 = dllepregister("test.dll", "test9", "TRUE", 0);
    h10 = dllepregister("test.dll", "test10", "TRUE", 1);
    h11 = dllepregister("test.dll", "test11", "TRUE", 2);
    h12 = dllepregister("test.dll", "test12", "TRUE", 3);
    h13 = dllepregister("test.dll", "test13", "TRUE", 4);
    h14 = dllepregister("test.dll", "test14", "TRUE", 5);
    h15 = dllepregister("test.dll", "test15", "TRUE", 6);
    h16 = dllepregister("test.dll", "test16", "TRUE", 7);
    h17 = dllepregister("test.dll", "test17", "TRUE", 8);
    again = dllepregister("test", "test10", "FALSE", 5);
    tavoservice("VPUT", "LIB.HANDLES", strcompose(h0, ",", h8, ",", h9, ",", h17, ",", again));
    r = "[";
    strcat(r, dllepcall(h0));
    strcat(r, dllepcall(h1, "a"));
    strcat(r, dllepcall(h2, "a", "b"));
    strcat(r, dllepcall(h3, "a", "b", "c"));
    strcat(r, dllepcall(h4, "a", "b", "c", "d"));
    strcat(r, dllepcall(h5, "a", "b", "c", "d", "e"));
    strcat(r, dllepcall(h6, "a", "b", "c", "d", "e", "f"));
    strcat(r, dllepcall(h7, "a", "b", "c", "d", "e", "f", "g"));
    strcat(r, dllepcall(h8, "a", "b", "c", "d", "e", "f", "g", "h"));
    strcat(r, "]");
    tavoservice("VPUT", "LIB.NORETURN", r);
    tavoservice("VPUT", "LIB.R9", dllepcall(h9));
    tavoservice("VPUT", "LIB.R10", dllepcall(h10, 1));
    tavoservice("VPUT", "LIB.R11", dllepcall(h11, 1, 2));
    tavoservice("VPUT", "LIB.R12", dllepcall(h12, 1, 2, 3));
    tavoservice("VPUT", "LIB.R13", dllepcall(h13, 1, 2, 3, 4));
    tavoservice("VPUT", "LIB.R14", dllepcall(h14, 1, 2, 3, 4, 5));
    tavoservice("VPUT", "LIB.R15", dllepcall(h15, 1, 2, 3, 4, 5, 6));
    tavoservice("VPUT", "LIB.R16", dllepcall(h16, 1, 2, 3, 4, 5, 6, 7));
    tavoservice("VPUT", "LIB.R17", dllepcall(h17, 1, 2, 3, 4, 5, 6, 7, 8, 9));
}
