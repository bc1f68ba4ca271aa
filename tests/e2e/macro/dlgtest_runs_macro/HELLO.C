void main(void)
{
    tavoservice("VPUT", "HELLO.OUT", strcompose("ran with ", argc - 1, " words: ", argv[1], argv[2]));
}
