/*
 * %cursor%name: what it does.
 */
static int name(void)
{
    return 0;
}
