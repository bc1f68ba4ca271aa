// String functions on edge cases.
char *s, *w[];
int n;
void main(void)
{
    s = "abc";
    strcenter(s, "*", 8);
    tavoservice("VPUT", "STRS.CENTER", s);
    tavoservice("VPUT", "STRS.GEN", strgenstr("ab", 5));
    n = strparse(w, "one,\"two, three\",four", ",");
    tavoservice("VPUT", "STRS.PARSE", strcompose(n, ":", w[0], "|", w[1], "|", w[2]));
    n = strparsex(w, "one,\"two, three\",four", ",");
    tavoservice("VPUT", "STRS.PARSEX", strcompose(n, ":", w[1], "|", w[2]));
    tavoservice("VPUT", "STRS.FIND", strcompose(strfindsubstr("abcabc", "bc", 3), strfindsubstr("abcabc", "bc", 6)));
    s = "MiXed";
    strupr(s);
    tavoservice("VPUT", "STRS.UPPER", s);
    s = "abcdef";
    strdelsubstr(s, 2, 3);
    strinssubstr(s, "XY", 2);
    strovlsubstr(s, "zz", 4);
    tavoservice("VPUT", "STRS.EDIT", s);
    tavoservice("VPUT", "STRS.WORD", strparseword("foo bar_baz", 6));
}
