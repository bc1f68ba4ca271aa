// Run by a double-click in the data area: keeps where it was double-clicked and the word there.
char *line, *col;
void main(void)
{
    line = tavoservice("QUERY", "LAST_LINE_NUMBER");
    col = tavoservice("QUERY", "LAST_COL_NUMBER");
    tavoservice("VPUT", "DBL.PLACE", strcompose(line, ",", col));
    tavoservice("VPUT", "DBL.WORD", strparseword(tavoservice("QUERY", "LINE_DATA"), col));
    tavoservice("VPUT", "DBL.AGAIN", strcompose(tavoservice("QUERY", "LAST_LINE_NUMBER"), ",",
                                               tavoservice("QUERY", "LAST_COL_NUMBER")));
}
