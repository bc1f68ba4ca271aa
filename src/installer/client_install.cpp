#include "client_install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "answer_reader.h"
#include "install_paths.h"

namespace tavoe {

namespace {

// Reads an answer after making sure the question has been seen: output to a pipe is buffered.
AnswerStatus Ask(const ClientInstallContext& context, std::string& answer) {
    std::fflush(context.out);
    return ReadAnswer(context.in, answer);
}

[[nodiscard]] int ConfirmServerHome(const ClientInstallContext& context, const std::string& serverHome) {
    std::fprintf(context.out, "\nTavo/E home directory on server is '%s'\n\n", serverHome.c_str());
    std::fprintf(context.out, "Press 'Enter' to confirm or any other character to abort\n");
    std::string answer;
    AnswerStatus status = Ask(context, answer);
    if (status == AnswerStatus::End || (status == AnswerStatus::Line && answer.empty())) {
        return 0;
    }
    std::fprintf(context.out, "\a\nInstall aborted\n");
    return -1;
}

// Shows the proposed client home until the user accepts it with an empty line (or the input ends);
// every other line replaces the proposal.
[[nodiscard]] int ChooseClientHome(const ClientInstallContext& context, std::string& clientHome) {
    for (;;) {
        std::fprintf(context.out, "\nInstalling Tavo/E client in '%s'\n\n", clientHome.c_str());
        std::fprintf(context.out, "Press 'Enter' to confirm or supply new path\n\n");
        std::string answer;
        AnswerStatus status = Ask(context, answer);
        if (status == AnswerStatus::TooLong) {
            std::fprintf(context.out, "\a\nPath too long, at most %zu characters allowed\n",
                         kMaxAnswerLength);
            return -1;
        }
        if (status == AnswerStatus::End || answer.empty()) {
            return 0;
        }
        clientHome = WithoutTrailingSlashes(answer);
    }
}

bool SameDirectory(const std::string& a, const std::string& b) {
    struct stat statA {};
    struct stat statB {};
    return ::stat(a.c_str(), &statA) == 0 && ::stat(b.c_str(), &statB) == 0 && statA.st_dev == statB.st_dev &&
           statA.st_ino == statB.st_ino;
}

// Makes sure the client home is a directory, creating it (one level) when it does not exist. Installing
// into the server home itself would overwrite the shared main profile, so that is refused.
[[nodiscard]] int PrepareClientHome(const ClientInstallContext& context, const std::string& clientHome,
                                    const std::string& serverHome) {
    const char* home = clientHome.c_str();
    if (::access(home, F_OK) != 0 && ::mkdir(home, 0777) != 0) {
        std::fprintf(context.out, "\a\nUnable to create %s\n", home);
        return -1;
    }
    if (::access(home, F_OK) != 0) {
        std::fprintf(context.out, "\a\nUnable to access %s\n", home);
        return -1;
    }
    struct stat info {};
    if (::stat(home, &info) != 0) {
        std::fprintf(context.out, "\a\nUnable to get status for %s\n", home);
        return -1;
    }
    if (!S_ISDIR(info.st_mode)) {
        std::fprintf(context.out, "\a\n%s is not a directory\n", home);
        return -1;
    }
    if (SameDirectory(clientHome, serverHome.empty() ? std::string("/") : serverHome)) {
        std::fprintf(context.out, "\a\n%s is the Tavo/E home directory on server\n", home);
        return -1;
    }
    return 0;
}

// Creates the missing directories of the tree in order. A directory that already exists is accepted
// as it is; a name taken by something that is not a directory counts as one that cannot be created.
[[nodiscard]] int CreateClientTree(const ClientInstallContext& context, const std::string& clientHome) {
    for (const char* relative : kClientTreeDirectories) {
        std::string directory = clientHome + "/" + relative;
        struct stat info {};
        bool present = ::stat(directory.c_str(), &info) == 0;
        if (present && S_ISDIR(info.st_mode)) {
            continue;
        }
        if (present || ::mkdir(directory.c_str(), 0777) != 0) {
            std::fprintf(context.out, "Unable to create directory '%s'", directory.c_str());
            std::fprintf(context.out, "\a\nUnable to create Tavo/E client directory tree.\n");
            return -1;
        }
    }
    std::fprintf(context.out, "\nCreated Tavo/E client directory tree.\n");
    return 0;
}

// Copies the bytes of `from` to `to` (replaced), flushed to the disk; false when any step failed.
bool CopyFileContents(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) {
        return false;
    }
    struct stat info {};
    int out = -1;
    if (::fstat(in, &info) == 0 && S_ISREG(info.st_mode)) {
        out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    }
    bool ok = out >= 0;
    char chunk[8192];
    while (ok) {
        ssize_t got = ::read(in, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < got;) {
            ssize_t put = ::write(out, chunk + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            ok = put > 0;
            done += put > 0 ? put : 0;
        }
    }
    ok = ok && ::fsync(out) == 0;
    if (out >= 0) {
        ok = ::close(out) == 0 && ok;
    }
    ::close(in);
    return ok;
}

// Writes the main profile: the client's own directories first on every search path, the server's
// second, and help from the server only. An existing profile is replaced, after a copy of it is kept
// beside it as tavoe.prf.bak (it holds the user's aliases and settings); when that copy cannot be
// made the profile is left alone.
[[nodiscard]] int WriteClientProfile(const ClientInstallContext& context, const std::string& clientHome,
                                     const std::string& serverHome) {
    std::string path = clientHome + "/" + kMainProfileName;
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        std::string backup = path + ".bak";
        if (!CopyFileContents(path, backup)) {
            std::fprintf(context.out, "\a\nUnable to copy %s to %s; the profile was not replaced\n",
                         path.c_str(), backup.c_str());
            return -1;
        }
        std::fprintf(context.out, "\nCopied the previous %s to %s\n", path.c_str(), backup.c_str());
    }
    std::FILE* profile = std::fopen(path.c_str(), "w");
    if (profile == nullptr) {
        std::fprintf(context.out, "\a\nUnable to open %s for write\n", path.c_str());
        return -1;
    }
    const char* c = clientHome.c_str();
    const char* s = serverHome.c_str();
    std::fprintf(profile, "ZCLIENT,TRUE\n");
    std::fprintf(profile, "ZPATH.COLORIZATION,%s/profiles;%s/profiles\n", c, s);
    std::fprintf(profile, "ZPATH.DIALOGS,%s/dialogs;%s/dialogs\n", c, s);
    std::fprintf(profile, "ZPATH.FILEPROFILES,%s/profiles;%s/profiles\n", c, s);
    std::fprintf(profile, "ZPATH.MACROS,%s/macros;%s/macros\n", c, s);
    std::fprintf(profile, "ZPATH.MENUS,%s/menus;%s/menus\n", c, s);
    std::fprintf(profile, "ZPATH.PRINTSTYLES,%s/profiles;%s/profiles\n", c, s);
    std::fprintf(profile, "ZPATH.PROJECTS,%s/profiles;%s/profiles\n", c, s);
    std::fprintf(profile, "ZPATH.TEMPLATES,%s/templates;%s/templates\n", c, s);
    std::fprintf(profile, "ZPATH.USERCOMMANDS,%s/profiles;%s/profiles\n", c, s);
    std::fprintf(profile, "ZPATH.HELP,%s/help\n", s);
    // A profile cut short (a full disk) must not be reported as created.
    bool written = std::ferror(profile) == 0;
    written = std::fclose(profile) == 0 && written;
    if (!written) {
        std::fprintf(context.out, "\a\nUnable to write %s\n", path.c_str());
        return -1;
    }
    std::fprintf(context.out, "\nCreated %s\n", path.c_str());
    std::fprintf(context.out, "\n*** Tavo/E client install complete ***\n\n");
    return 0;
}

void PrintManualSteps(const ClientInstallContext& context, const std::string& clientHome,
                      const std::string& serverHome) {
    std::fprintf(context.out,
                 "1) Add this statement to your shell profile (~/.profile):  export TAVOE35=%s\n",
                 ShellWord(clientHome).c_str());
    std::fprintf(context.out, "   Make sure you log out and back in BEFORE you try to run Tavo/E.\n");
    std::fprintf(context.out, "2) Use your file manager to create shortcut for:  %s/bin/tavoe\n",
                 serverHome.c_str());
    std::fprintf(context.out, "3) Drag shortcut to desktop\n");
    std::fprintf(context.out, "4) Rename shortcut to 'Tavo-E Client'\n");
}

int Install(const ClientInstallContext& context) {
    std::optional<std::string> serverHome = DeriveServerHome(context.programPath);
    if (!serverHome) {
        std::fprintf(context.out, "\a\nExecute client from server so we can derive Tavo/E server path.\n");
        return -1;
    }
    if (ConfirmServerHome(context, *serverHome) != 0) {
        return -1;
    }
    std::string clientHome = ProposeClientHome(*serverHome, context.userHome);
    if (ChooseClientHome(context, clientHome) != 0) {
        return -1;
    }
    if (!HasAbsolutePathForm(clientHome)) {
        std::fprintf(context.out, "\a\nPath must be in form: /...\n");
        return -1;
    }
    if (PrepareClientHome(context, clientHome, *serverHome) != 0 ||
        CreateClientTree(context, clientHome) != 0 ||
        WriteClientProfile(context, clientHome, *serverHome) != 0) {
        return -1;
    }
    PrintManualSteps(context, clientHome, *serverHome);
    return 0;
}

}  // namespace

int RunClientInstall(const ClientInstallContext& context) {
    std::fprintf(context.out, "\n*** Tavo/E Thin Client Install ***\n");
    int status = Install(context);
    std::fprintf(context.out, "\nPress 'Enter' to exit\n");
    std::string answer;
    (void)Ask(context, answer);
    std::fflush(context.out);
    return status;
}

}  // namespace tavoe
