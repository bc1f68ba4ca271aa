// Store selectors and commands run through the service.
void main(void)
{
    tavoservice("VPUT", "SC.KEPT", "kept across runs");
    tavoservice("VPERSIST", "SC.KEPT");
    tavoservice("VPUT", "SC.GONE", "soon cleared");
    tavoservice("VPERSIST", "SC.GONE");
    tavoservice("VDELETE", "SC.GONE");
    tavoservice("VPUT", "SC.NEVER", strcompose("[", tavoservice("VGET", "SC.NEVERSET"), "]"));
    tavoservice("CMD", "sc2 one two");
    tavoservice("VPUT", "SC.AFTER", tavoservice("VGET", "SC2.ARGS"));
}
