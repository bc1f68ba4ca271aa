#pragma once

#include <cstdio>
#include <string>

namespace tavoe {

// The thin-client installer: sets up one user's own directory tree and main profile beside a shared
// installation whose programs live in "<server home>/bin". The dialogue runs on `in` and `out`
// (standard input and output in the program; any streams in a test).
struct ClientInstallContext {
    std::FILE* in = stdin;
    std::FILE* out = stdout;
    std::string programPath;  // the installer's own full path
    std::string userHome;     // the user's home directory, where the client home is proposed
};

// Runs the whole dialogue. Returns 0 when the tree and the profile were made, -1 after any failure
// (its message has been printed). Either way it ends by waiting for Enter.
int RunClientInstall(const ClientInstallContext& context);

}  // namespace tavoe
