// RENUM file [start [step [first [last]]]]
// Renumbers a range of records of a file in columns 73 to 80 (the sequence field of 80-column
// source): records first to last (default: all) get the numbers start, start + step, ... written
// as eight digits. Shorter records are padded with blanks to column 72. The file is rewritten in
// place; the number of records renumbered is shown and kept in RENUM.COUNT.

char *path, *rec, *status, *seq;
char *lines[];
int start, step, first, last, total, i, number, done, h;

void main(void)
{
    if (argc < 2) {
        msg("RENUM: name a file, then optionally start, step, first and last record.");
        return;
    }
    path = argv[1];
    start = 100;
    step = 100;
    first = 1;
    last = 0;
    if (argc > 2) start = argv[2];
    if (argc > 3) step = argv[3];
    if (argc > 4) first = argv[4];
    if (argc > 5) last = argv[5];
    if (step < 1 || start < 0 || first < 1) {
        msg("RENUM: start must be 0 or more, step and first 1 or more.");
        return;
    }
    h = fileopen(path, "r");
    if (h == 0) {
        msg(strcompose("RENUM: can not read '", path, "'."));
        return;
    }
    total = 0;
    status = filerecread(h, rec);
    while (status == "OK") {
        total = total + 1;
        lines[total] = rec;
        status = filerecread(h, rec);
    }
    fileclose(h);
    if (last == 0 || last > total) last = total;
    number = start;
    done = 0;
    i = first;
    while (i <= last) {
        seq = number;
        if (strlen(seq) > 8) {
            msg("RENUM: sequence numbers would need more than eight digits.");
            return;
        }
        lines[i] = numbered(lines[i], strcompose(strgenstr("0", 9 - strlen(seq)), seq));
        number = number + step;
        done = done + 1;
        i = i + 1;
    }
    h = fileopen(path, "w");
    if (h == 0) {
        msg(strcompose("RENUM: can not write '", path, "'."));
        return;
    }
    i = 1;
    while (i <= total) {
        filerecwrite(h, lines[i]);
        i = i + 1;
    }
    fileclose(h);
    tavoservice("VPUT", "RENUM.COUNT", done);
    msg(strcompose(done, " records renumbered in ", path, "."));
}

// The record with its columns 73 to 80 replaced by the eight-digit number (the "0" before it, from
// a generated pad of at least one character, is dropped).
char *numbered(char *text, char *padded)
{
    char *digits;
    digits = strgetsubstr(padded, strlen(padded) - 7, 8);
    if (strlen(text) > 72) strdelsubstr(text, 73, strlen(text) - 72);
    if (strlen(text) < 72) strcat(text, strgenstr(" ", 72 - strlen(text)));
    strcat(text, digits);
    return(text);
}
