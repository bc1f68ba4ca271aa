// Prints a file that is not being edited, then one that does not exist.
void main(void)
{
    fileprint("listing.txt");
    fileprint("missing.txt");
    tavoservice("VPUT", "FP.TASKS", tavoservice("QUERY", "TASK_COUNT"));
}
