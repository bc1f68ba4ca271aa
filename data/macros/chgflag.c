// CHGFLAG [id]
// Puts a change flag in columns 73 to 80 of the line at the cursor: the id (up to two characters,
// default "C") and today's date as yymmdd, padded with blanks to eight columns. A shorter line is
// padded with blanks to column 72 first; text beyond column 80 stays.

char *id, *line, *date, *flag;

void main(void)
{
    id = "C";
    if (argc > 1) id = argv[1];
    if (strlen(id) > 2) id = strgetsubstr(id, 1, 2);
    if (tavoservice("QUERY", "LINE_NUMBER") == 0) {
        msg("CHGFLAG: put the cursor on a data line first.");
        return;
    }
    // DATE_ISO is yyyy-mm-dd hh.mm.ss
    date = tavoservice("QUERY", "DATE_ISO");
    flag = strcompose(id, strgetsubstr(date, 3, 2), strgetsubstr(date, 6, 2), strgetsubstr(date, 9, 2));
    if (strlen(flag) < 8) strcat(flag, strgenstr(" ", 8 - strlen(flag)));
    line = tavoservice("QUERY", "LINE_DATA");
    if (strlen(line) < 80) strcat(line, strgenstr(" ", 80 - strlen(line)));
    strovlsubstr(line, flag, 73);
    tavoservice("SET", "LINE_DATA", line);
}
