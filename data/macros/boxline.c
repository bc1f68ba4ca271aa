// BOXLINE [C|COBOL|ASM]
// Boxes the line at the cursor as a one-line comment: its text, leading and trailing blanks
// removed, is framed by the comment marks of the language (C: /* ... */, COBOL: an asterisk in
// column 7 and a closing asterisk, ASM: an asterisk in column 1), with the closing mark in the
// right bound column so that boxed lines stand flush. The file is marked changed.

char *style, *text, *open, *close, *boxed;
int right, inner;

void main(void)
{
    style = "C";
    if (argc > 1) {
        style = argv[1];
        strupr(style);
    }
    if (tavoservice("QUERY", "LINE_NUMBER") == 0) {
        msg("BOXLINE: put the cursor on a data line first.");
        return;
    }
    switch (style) {
        case "COBOL":
            open = "      * ";
            close = " *";
            break;
        case "ASM":
            open = "* ";
            close = " *";
            break;
        case "C":
            open = "/* ";
            close = " */";
            break;
        default:
            msg(strcompose("BOXLINE: unknown comment style ", style, ", use C, COBOL or ASM."));
            return;
    }
    text = tavoservice("QUERY", "LINE_DATA");
    strstripleading(text, " ");
    strstriptrailing(text, " ");
    right = tavoservice("QUERY", "BOUNDS_RIGHT");
    if (right > 72 || right < 20) right = 72;
    inner = right - strlen(open) - strlen(close);
    if (strlen(text) > inner) {
        msg("BOXLINE: the line is too long to box.");
        return;
    }
    boxed = text;
    if (strlen(boxed) < inner) strcat(boxed, strgenstr(" ", inner - strlen(boxed)));
    tavoservice("SET", "LINE_DATA", strcompose(open, boxed, close));
}
