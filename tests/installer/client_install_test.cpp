#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string output;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

const std::string kBanner = "\n*** Tavo/E Thin Client Install ***\n";
const std::string kExitPrompt = "\nPress 'Enter' to exit\n";

std::string ServerPrompt(const std::string& serverHome) {
    return "\nTavo/E home directory on server is '" + serverHome +
           "'\n\nPress 'Enter' to confirm or any other character to abort\n";
}

std::string ClientPrompt(const std::string& clientHome) {
    return "\nInstalling Tavo/E client in '" + clientHome +
           "'\n\nPress 'Enter' to confirm or supply new path\n\n";
}

std::string SuccessTail(const std::string& clientHome, const std::string& serverHome,
                        const std::string& exportWord) {
    return "\nCreated Tavo/E client directory tree.\n"
           "\nCreated " +
           clientHome +
           "/profiles/TAVOE.PRF\n"
           "\n*** Tavo/E client install complete ***\n\n"
           "1) Add this statement to your shell profile (~/.profile):  export TAVOE35=" +
           exportWord +
           "\n"
           "   Make sure you log out and back in BEFORE you try to run Tavo/E.\n"
           "2) Use your file manager to create shortcut for:  " +
           serverHome +
           "/bin/tavoe\n"
           "3) Drag shortcut to desktop\n"
           "4) Rename shortcut to 'Tavo-E Client'\n" +
           kExitPrompt;
}

std::string ExpectedProfile(const std::string& c, const std::string& s) {
    return "ZCLIENT,TRUE\n"
           "ZPATH.COLORIZATION," +
           c + "/profiles;" + s +
           "/profiles\n"
           "ZPATH.DIALOGS," +
           c + "/dialogs;" + s +
           "/dialogs\n"
           "ZPATH.FILEPROFILES," +
           c + "/profiles;" + s +
           "/profiles\n"
           "ZPATH.MACROS," +
           c + "/macros;" + s +
           "/macros\n"
           "ZPATH.MENUS," +
           c + "/menus;" + s +
           "/menus\n"
           "ZPATH.PRINTSTYLES," +
           c + "/profiles;" + s +
           "/profiles\n"
           "ZPATH.PROJECTS," +
           c + "/profiles;" + s +
           "/profiles\n"
           "ZPATH.TEMPLATES," +
           c + "/templates;" + s +
           "/templates\n"
           "ZPATH.USERCOMMANDS," +
           c + "/profiles;" + s +
           "/profiles\n"
           "ZPATH.HELP," +
           s + "/help\n";
}

const std::vector<std::string> kTree = {
    "bin",           "dialogs",       "help",           "macros",        "menus",
    "profiles",      "templates",     "templates/c",    "templates/cbl", "templates/cob",
    "templates/cpp", "templates/htm", "templates/java", "templates/jcl", "templates/pas",
    "templates/pl1", "templates/pli",
};

// Each test gets a scratch root with a server installation at <root>/srv/APP and a user home at
// <root>/home; the installer is copied into a bin directory of the server, as it is shipped.
class ClientInstall : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        fs::path parent = base != nullptr && base[0] != '\0' ? fs::path(base) : fs::temp_directory_path();
        fs::create_directories(parent);
        std::string pattern = (parent / "client_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        server = (root / "srv" / "APP").string();
        home = (root / "home").string();
        fs::create_directories(home);
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // Copies the built installer into <server>/<binName>/client and returns its path.
    fs::path PlaceClient(const std::string& binName = "bin") {
        fs::path dir = fs::path(server) / binName;
        fs::create_directories(dir);
        fs::path program = dir / "client";
        fs::copy_file(fs::path(TAVOE_BINARY_DIR) / "bin" / "client", program,
                      fs::copy_options::overwrite_existing);
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }

    // Runs `program` with `answers` on standard input and HOME set to `userHome`.
    RunResult Run(const fs::path& program, const std::string& answers, const std::string& userHome) {
        fs::path input = root / "answers.txt";
        fs::path output = root / "output.txt";
        WriteFile(input, answers);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string homeVar = "HOME=" + userHome;
        std::string programText = program.string();
        char* argv[] = {programText.data(), nullptr};
        char* envp[] = {homeVar.data(), nullptr};
        pid_t pid = 0;
        RunResult result;
        int spawned = posix_spawn(&pid, programText.c_str(), &actions, nullptr, argv, envp);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << programText;
            return result;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.output = ReadFile(output);
        return result;
    }

    RunResult Run(const fs::path& program, const std::string& answers) { return Run(program, answers, home); }

    void ExpectTree(const std::string& clientHome) {
        for (const std::string& dir : kTree) {
            EXPECT_TRUE(fs::is_directory(fs::path(clientHome) / dir)) << dir;
        }
    }

    fs::path root;
    std::string server;
    std::string home;
};

TEST_F(ClientInstall, CreatesTreeAndProfileBesideServer) {
    RunResult run = Run(PlaceClient(), "\n\n\n");
    std::string client = home + "/APP";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              kBanner + ServerPrompt(server) + ClientPrompt(client) + SuccessTail(client, server, client));
    ExpectTree(client);
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF"), ExpectedProfile(client, server));
}

TEST_F(ClientInstall, AcceptsUpperCaseBinAndAnswersThatEndEarly) {
    // No answers at all: the end of input confirms every question.
    RunResult run = Run(PlaceClient("BIN"), "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find(ServerPrompt(server)), std::string::npos);
    ExpectTree(home + "/APP");

    // Answers with CR LF line ends are empty lines too.
    fs::remove_all(home + "/APP");
    run = Run(PlaceClient("BIN"), "\r\n\r\n\r\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadFile(home + "/APP/profiles/TAVOE.PRF"), ExpectedProfile(home + "/APP", server));
}

TEST_F(ClientInstall, RefusesToRunOutsideServerBin) {
    const std::string refusal =
        kBanner + "\a\nExecute client from server so we can derive Tavo/E server path.\n" + kExitPrompt;
    RunResult run = Run(PlaceClient("Bin"), "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, refusal);

    run = Run(PlaceClient("tools"), "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, refusal);
    EXPECT_FALSE(fs::exists(home + "/APP"));
}

TEST_F(ClientInstall, AnyReplyToServerQuestionAborts) {
    fs::path program = PlaceClient();
    for (const char* answer : {"x\n", " \n", "yes"}) {
        RunResult run = Run(program, answer);
        EXPECT_EQ(run.exitCode, 255) << answer;
        EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + "\a\nInstall aborted\n" + kExitPrompt)
            << answer;
    }
    EXPECT_FALSE(fs::exists(home + "/APP"));
}

TEST_F(ClientInstall, SuppliedPathsReplaceProposalUntilConfirmed) {
    std::string first = root.string() + "/first";
    std::string chosen = root.string() + "/chosen";
    RunResult run = Run(PlaceClient(), "\n" + first + "\n" + chosen + "//\n\n\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(home + "/APP") + ClientPrompt(first) +
                              ClientPrompt(chosen) + SuccessTail(chosen, server, chosen));
    ExpectTree(chosen);
    EXPECT_EQ(ReadFile(chosen + "/profiles/TAVOE.PRF"), ExpectedProfile(chosen, server));
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(home + "/APP"));
}

TEST_F(ClientInstall, RefusesPathsThatAreNotAbsoluteOrTooLong) {
    fs::path program = PlaceClient();
    RunResult run = Run(program, "\nrelative/APP\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(home + "/APP") +
                              ClientPrompt("relative/APP") + "\a\nPath must be in form: /...\n" +
                              kExitPrompt);

    run = Run(program, "\n/" + std::string(300, 'd') + "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(home + "/APP") +
                              "\a\nPath too long, at most 255 characters allowed\n" + kExitPrompt);
    EXPECT_FALSE(fs::exists(home + "/APP"));
}

TEST_F(ClientInstall, KeepsExistingDirectoriesAndReplacesProfile) {
    std::string client = home + "/APP";
    fs::create_directories(client + "/profiles");
    fs::create_directories(client + "/templates/cbl");
    WriteFile(client + "/profiles/TAVOE.PRF", "ZMSGSOUNDS,FALSE\nZPATH.MACROS,/old\n");
    WriteFile(client + "/templates/cbl/mine.tpl", "kept\n");
    RunResult run = Run(PlaceClient(), "\n\n\n");
    EXPECT_EQ(run.exitCode, 0);
    ExpectTree(client);
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF"), ExpectedProfile(client, server));
    EXPECT_EQ(ReadFile(client + "/templates/cbl/mine.tpl"), "kept\n");
    // The user's aliases and settings are kept in a copy, and the run says so.
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF.bak"), "ZMSGSOUNDS,FALSE\nZPATH.MACROS,/old\n");
    EXPECT_NE(run.output.find("Copied the previous " + client + "/profiles/TAVOE.PRF to " + client +
                              "/profiles/TAVOE.PRF.bak"),
              std::string::npos)
        << run.output;
    // A second run copies the profile it replaces, not the first one's copy.
    run = Run(PlaceClient(), "\n\n\n");
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF.bak"), ExpectedProfile(client, server));
}

TEST_F(ClientInstall, ProfileThatCannotBeCopiedIsNotReplaced) {
    std::string client = home + "/APP";
    fs::create_directories(client + "/profiles/TAVOE.PRF.bak");  // a directory is in the copy's way
    WriteFile(client + "/profiles/TAVOE.PRF", "MINE,1\n");
    RunResult run = Run(PlaceClient(), "\n\n\n");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF"), "MINE,1\n");
    EXPECT_NE(run.output.find("the profile was not replaced"), std::string::npos) << run.output;
}

TEST_F(ClientInstall, StopsAtFirstDirectoryThatCannotBeMade) {
    std::string client = home + "/APP";
    fs::create_directories(client);
    WriteFile(client + "/macros", "a file where a directory belongs\n");
    RunResult run = Run(PlaceClient(), "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(client) +
                              "Unable to create directory '" + client +
                              "/macros'\a\nUnable to create Tavo/E client directory tree.\n" + kExitPrompt);
    // Directories made before the failure stay; none after it is made.
    EXPECT_TRUE(fs::is_directory(client + "/help"));
    EXPECT_FALSE(fs::exists(client + "/menus"));
    EXPECT_FALSE(fs::exists(client + "/profiles"));
}

TEST_F(ClientInstall, ReportsClientHomeThatIsNoUsableDirectory) {
    fs::path program = PlaceClient();
    std::string nested = root.string() + "/missing/APP";
    RunResult run = Run(program, "\n" + nested + "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(home + "/APP") +
                              ClientPrompt(nested) + "\a\nUnable to create " + nested + "\n" + kExitPrompt);

    std::string plainFile = root.string() + "/plain";
    WriteFile(plainFile, "x\n");
    run = Run(program, "\n" + plainFile + "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("\a\n" + plainFile + " is not a directory\n" + kExitPrompt), std::string::npos);
    EXPECT_EQ(ReadFile(plainFile), "x\n");
}

TEST_F(ClientInstall, RefusesServerHomeAsClientHome) {
    fs::create_directories(server + "/profiles");
    WriteFile(server + "/profiles/TAVOE.PRF", "ZMENUSTYLE,Modern Tavo\n");
    RunResult run = Run(PlaceClient(), "\n" + server + "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("\a\n" + server + " is the Tavo/E home directory on server\n" + kExitPrompt),
              std::string::npos);
    EXPECT_EQ(ReadFile(server + "/profiles/TAVOE.PRF"), "ZMENUSTYLE,Modern Tavo\n");
}

TEST_F(ClientInstall, ReportsProfileThatCannotBeWritten) {
    std::string client = home + "/APP";
    fs::create_directories(client + "/profiles/TAVOE.PRF");
    RunResult run = Run(PlaceClient(), "\n\n\n");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.output, kBanner + ServerPrompt(server) + ClientPrompt(client) +
                              "\nCreated Tavo/E client directory tree.\n\a\nUnable to open " + client +
                              "/profiles/TAVOE.PRF for write\n" + kExitPrompt);
}

TEST_F(ClientInstall, QuotesClientHomeForTheShellWhenNeeded) {
    std::string client = root.string() + "/my home's";
    RunResult run = Run(PlaceClient(), "\n" + client + "\n\n\n");
    EXPECT_EQ(run.exitCode, 0);
    std::string quoted = "'" + root.string() + "/my home'\\''s'";
    EXPECT_NE(run.output.find("export TAVOE35=" + quoted + "\n"), std::string::npos);
    EXPECT_EQ(ReadFile(client + "/profiles/TAVOE.PRF"), ExpectedProfile(client, server));
}

}  // namespace
