// Shows a dialog twice and keeps how each showing ended; then a dialog that does not exist.
void main(void)
{
    tavoservice("VPUT", "DLG.FIRST", tavoservice("DIALOG", "LOCATE"));
    tavoservice("VPUT", "DLG.SECOND", tavoservice("dialog", "locate"));
    tavoservice("VPUT", "DLG.MISSING", tavoservice("DIALOG", "NOSUCHDLG"));
}
