// LE case: one faulty use of the library calls per run.
int h, i;
char *r;
void main(void)
{
    switch (argv[1]) {
        case "missing":
            h = dllepregister("nosuchlib", "test1", "TRUE", 1);
            break;
        case "export":
            h = dllepregister("test", "test18", "TRUE", 1);
            break;
        case "fake":
            h = dllepregister("fake", "test1", "TRUE", 1);
            break;
        case "handle":
            h = dllepregister("test", "test9", "TRUE", 0);
            r = dllepcall(h + 1);
            break;
        case "range":
            r = dllepcall(-1);
            break;
        case "count":
            h = dllepregister("test", "test12", "TRUE", 3);
            r = dllepcall(h, "a", "b");
            break;
        case "full":
            i = 0;
            while (i < 18) {
                h = dllepregister("test", strcompose("test", i), "FALSE", 0);
                h = dllepregister("test.dll", strcompose("test", i), "FALSE", 0);
                i = i + 1;
            }
            break;
    }
    tavoservice("VPUT", "LE.REACHED", argv[1]);
}
