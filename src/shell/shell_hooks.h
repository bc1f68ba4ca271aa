#pragma once

// Connects the shell to the command dispatchers: the context stack, the edit sessions and the
// command fields become the dispatchers' shell hooks, and the commands the shell carries out
// (SPLITF, SPLITH, SPLITV and the WIN arrangement commands) their handlers. The table is the
// process's, and every hook receives the AppSession, so one installation serves every instance.
void InstallShellHooks();
