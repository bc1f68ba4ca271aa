// WORDCNT word [file]
// Counts the lines of a file that hold a word as a whole word (letters and digits next to it make
// another word). The file is the one being edited unless one is named. The count is shown and kept
// in the variable WORDCNT.COUNT, the number of lines read in WORDCNT.LINES.

char *word, *path, *rec, *status;
int count, lines, at, hit;

void main(void)
{
    if (argc < 2) {
        msg("WORDCNT: name a word, and a file unless the edited one is meant.");
        return;
    }
    word = unquote(argv[1]);
    if (argc > 2) path = unquote(argv[2]);
    else path = tavoservice("VGET", "ZDSN");
    if (!strisalnum(word)) {
        msg(strcompose("WORDCNT: '", word, "' is not a word of letters and digits."));
        return;
    }
    hit = fileopen(path, "r");
    if (hit == 0) {
        msg(strcompose("WORDCNT: can not read '", path, "'."));
        return;
    }
    count = 0;
    lines = 0;
    status = filerecread(hit, rec);
    while (status == "OK") {
        lines = lines + 1;
        if (holdsword(rec) == TRUE) count = count + 1;
        status = filerecread(hit, rec);
    }
    fileclose(hit);
    tavoservice("VPUT", "WORDCNT.COUNT", count);
    tavoservice("VPUT", "WORDCNT.LINES", lines);
    msg(strcompose(count, " of ", lines, " lines hold the word '", word, "'."));
}

// Whether the record holds the word with no letter or digit joined to it.
BOOL holdsword(char *text)
{
    int col;
    col = strfindsubstr(text, word, 1);
    while (col > 0) {
        if (strparseword(text, col) == word) return(TRUE);
        col = strfindsubstr(text, word, col + 1);
    }
    return(FALSE);
}

// An argument written in quotes, without them.
char *unquote(char *text)
{
    char *first;
    if (strlen(text) >= 2) {
        first = strgetsubstr(text, 1, 1);
        if (first == "'" || first == "\"") {
            strstripleading(text, first);
            strstriptrailing(text, first);
        }
    }
    return(text);
}
