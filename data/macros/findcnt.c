// FINDCNT string
// Finds every occurrence of the string in the file being edited (FIND string ALL) and reports how
// many strings and lines were found. The counts are also left in FINDCNT.STRINGS and FINDCNT.LINES.

char *what, *strings, *lines;
int i;

void main(void)
{
    if (argc < 2) {
        msg("FINDCNT: give the string to find.");
        return;
    }
    if (tavoservice("QUERY", "TASK_COUNT") == 0) {
        msg("FINDCNT: no file is being edited.");
        return;
    }
    what = argv[1];
    i = 2;
    while (i < argc) {
        strcat(what, " ");
        strcat(what, argv[i]);
        i = i + 1;
    }
    tavoservice("CMD", strcompose("find ", what, " all"));
    strings = tavoservice("QUERY", "FIND_STRING_COUNT");
    lines = tavoservice("QUERY", "FIND_LINE_COUNT");
    tavoservice("VPUT", "FINDCNT.STRINGS", strings);
    tavoservice("VPUT", "FINDCNT.LINES", lines);
    msg(strcompose("FINDCNT: ", strings, " strings found in ", lines, " lines."));
}
