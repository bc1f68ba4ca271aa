// Started by SC through the service's CMD: keeps its arguments.
void main(void)
{
    tavoservice("VPUT", "SC2.ARGS", strcompose(argc - 1, " words: ", argv[1], ",", argv[2]));
}
