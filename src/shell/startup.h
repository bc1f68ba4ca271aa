#pragma once

#include <string>
#include <vector>

namespace tavoe {

// Starting and ending an instance.
//
// Start-up, in order: register in the shared session table; check the operating system; take the
// window position; load the main profile (its first run writes it at once and, except in batch mode,
// explains and posts "ISTYLE"); check the fonts' settings; process the command line (files, file
// lists, -R, -L and -S); show the top menu of the interface style unless the instance was started for
// files; when other sessions run, have every session rebuild its Window menu and title.
//
// Exit: the main profile is written, the position file too when this was the only session, and the
// instance leaves the session table.

struct AppSession;

struct InstanceStart {
    std::string programPath;               // the program file (for the shared block and new instances)
    std::string blockName;                 // the shared block's name; empty: derived (see below)
    std::vector<std::string> editorWords;  // the command line's file names and "-" options
    bool batch = false;                    // headless: no interface-style dialog on a first run
};

// The name of the shared block for a program file and user. Instances with another home directory
// (TAVOE35) have their own profile, so they get a block of their own.
std::string InstanceBlockName(const std::string& programPath, const char* tavoe35);

// Runs the start-up. The main window must exist (app.screen and app.mainWindow set) so that the
// messages of start-up are seen. Returns false when the instance cannot run (the operating system
// check failed); it is then already unregistered.
bool StartInstance(AppSession& app, const InstanceStart& start);

// The command line's part of start-up: the options, the files and file lists, then -R, -L and -S.
void ProcessStartCommandLine(AppSession& app, const std::vector<std::string>& words);

// A close request: every edit session is ended (each may ask about its changes); when one refuses,
// the close stops and false is returned. Otherwise the context stack and the command queue are
// emptied and true is returned: the main loop ends.
bool CloseInstance(AppSession& app);

// The exit sequence after the main loop: the profile is written, the position file when this was
// the only session, and the instance unregisters.
void FinishInstance(AppSession& app);

}  // namespace tavoe
