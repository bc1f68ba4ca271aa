// Reads every session query into QS.<name>.
char *names[];
int n, i;

void main(void)
{
    n = strparse(names, "BOUNDS_LEFT BOUNDS_RIGHT CAPS CHARSET CHARSET_FILE CHARSET_DISPLAY", " ");
    each();
    n = strparse(names, "COL_NUMBER COLS CURSOR_ROW FILEMODIFIED LINE_DATA LINE_COUNT", " ");
    each();
    n = strparse(names, "LINE_LENGTH LINE_NUMBER SELECT_MODE SELECT_START_COL SELECT_END_COL", " ");
    each();
    n = strparse(names, "SELECT_START_LINE SELECT_END_LINE TASK_COUNT FIND_STRING_COUNT FIND_LINE_COUNT", " ");
    each();
    n = strparse(names, "LAST_LINE_NUMBER LAST_COL_NUMBER", " ");
    each();
    tavoservice("VPUT", "QS.LAST_AGAIN", strcompose(tavoservice("QUERY", "LAST_LINE_NUMBER"), ",",
                                                    tavoservice("QUERY", "last_col_number")));
    tavoservice("VPUT", "QS.LABEL2", tavoservice("QUERY", "LINE_LABEL", 2));
    tavoservice("VPUT", "QS.LABEL3", tavoservice("QUERY", "LINE_LABEL", "3"));
    tavoservice("VPUT", "QS.X2", tavoservice("QUERY", "XSTATUS", 2));
    tavoservice("VPUT", "QS.X4", tavoservice("QUERY", "XSTATUS", 4));
    tavoservice("VPUT", "QS.X99", tavoservice("QUERY", "XSTATUS", 99));
    tavoservice("VPUT", "QS.SPEC", tavoservice("QUERY", "FILESPEC"));
    tavoservice("VPUT", "QS.FONT", strcompose(tavoservice("QUERY", "FONT_FACE"), "|",
                                              tavoservice("QUERY", "FONT_SIZE")));
    // The clock moves on; the forms are checked by their shape.
    tavoservice("VPUT", "QS.DATES", strcompose(strlen(tavoservice("QUERY", "DATE_ISO")), ",",
                strlen(tavoservice("QUERY", "DATE_JIS")), ",", strlen(tavoservice("QUERY", "DATE_EUR")), ",",
                strfindsubstr(tavoservice("QUERY", "DATE_ISO"), "-", 1), ",",
                strfindsubstr(tavoservice("QUERY", "DATE_JIS"), ":", 1), ",",
                strfindsubstr(tavoservice("QUERY", "DATE_USA"), "/", 1), ",",
                strisinset(strgetsubstr(tavoservice("QUERY", "DATE"), 3, 1), "/")));
}

void each(void)
{
    i = 0;
    while (i < n) {
        tavoservice("VPUT", strcompose("QS.", names[i]), tavoservice("QUERY", names[i]));
        i = i + 1;
    }
}
