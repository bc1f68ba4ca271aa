void main(void)
{
    tavoservice("VPUT", "ARGS.COUNT", argc);
    tavoservice("VPUT", "ARGS.SECOND", argv[2]);
    tavoservice("VPUT", "ARGS.LAST", argv[argc - 1]);
}
