// BOXCMT [C|COBOL|JCL] text ...
// Builds a boxed comment around the text, in the comment form of C, COBOL (an asterisk in column 7)
// or JCL (//*), 60 columns wide, the words wrapped onto as many lines as they need. The lines are
// written to boxcmt.txt in the working directory, for IMPORT, and kept in the variables BOXCMT.1 to
// BOXCMT.n with their count in BOXCMT.0.

char *style, *open, *close, *fill, *text, *line, *word;
char *words[];
int width, inner, count, nwords, i, h;

void main(void)
{
    width = 60;
    style = "C";
    i = 1;
    if (argc > 1) {
        style = argv[1];
        strupr(style);
        if (style == "C" || style == "COBOL" || style == "JCL") i = 2;
        else style = "C";
    }
    text = "";
    while (i < argc) {
        if (text != "") strcat(text, " ");
        strcat(text, argv[i]);
        i = i + 1;
    }
    switch (style) {
        case "COBOL":
            open = "      * ";
            close = " *";
            fill = strcompose("      ", strgenstr("*", width - 6));
            break;
        case "JCL":
            open = "//* ";
            close = " *";
            fill = strcompose("//", strgenstr("*", width - 2));
            break;
        default:
            open = "/* ";
            close = " */";
            fill = strcompose("/", strgenstr("*", width - 2), "/");
            break;
    }
    inner = width - strlen(open) - strlen(close);
    count = 0;
    emit(fill);
    nwords = strparsex(words, text, " ");
    line = "";
    i = 0;
    while (i < nwords) {
        word = words[i];
        if (strlen(word) > inner) word = strgetsubstr(word, 1, inner);
        if (line == "") line = word;
        else {
            if (strlen(line) + 1 + strlen(word) > inner) {
                boxed(line);
                line = word;
            } else line = strcompose(line, " ", word);
        }
        i = i + 1;
    }
    boxed(line);
    emit(fill);
    tavoservice("VPUT", "BOXCMT.0", count);
    h = fileopen("boxcmt.txt", "w");
    if (h == 0) {
        msg("BOXCMT: can not write boxcmt.txt.");
        return;
    }
    i = 1;
    while (i <= count) {
        filerecwrite(h, tavoservice("VGET", strcompose("BOXCMT.", i)));
        i = i + 1;
    }
    fileclose(h);
    msg(strcompose(count, " comment lines written to boxcmt.txt."));
}

// One text line inside the box, padded to the inner width.
void boxed(char *content)
{
    char *padded;
    padded = content;
    if (strlen(padded) < inner) strcat(padded, strgenstr(" ", inner - strlen(padded)));
    emit(strcompose(open, padded, close));
}

void emit(char *out)
{
    count = count + 1;
    tavoservice("VPUT", strcompose("BOXCMT.", count), out);
}
