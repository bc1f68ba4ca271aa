// Moves the cursor, replaces the current line and sets the title; then tries the refusals.
void main(void)
{
    tavoservice("SET", "CURSOR_ROW", 3);
    tavoservice("SET", "COL_NUMBER", 7);
    tavoservice("VPUT", "SS.PLACE", strcompose(tavoservice("QUERY", "CURSOR_ROW"), ",",
                tavoservice("QUERY", "COL_NUMBER"), ",", tavoservice("QUERY", "LINE_NUMBER")));
    tavoservice("VPUT", "SS.BEFORE", tavoservice("QUERY", "FILEMODIFIED"));
    tavoservice("set", "line_data", "the replaced second line");
    tavoservice("VPUT", "SS.AFTER", tavoservice("QUERY", "FILEMODIFIED"));
    tavoservice("VPUT", "SS.DATA", tavoservice("QUERY", "LINE_DATA"));
    tavoservice("SET", "TITLE", "Service title");
    tavoservice("SET", "CURSOR_ROW", 0);
    tavoservice("SET", "COL_NUMBER", 0);
    tavoservice("SET", "NOSUCH", 1);
    tavoservice("SET", "CURSOR_ROW", 999);
    tavoservice("VPUT", "SS.LASTROW", tavoservice("QUERY", "CURSOR_ROW"));
    tavoservice("SET", "CURSOR_ROW", 1);
    tavoservice("SET", "LINE_DATA", "not on the top marker");
    tavoservice("SET", "COL_NUMBER", 4);
}
