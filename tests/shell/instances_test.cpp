#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/shared_block.h"
#include "core/shell_port.h"
#include "platform/format.h"
#include "shell/instance_ports.h"
#include "shell/instances.h"
#include "shell/notify.h"
#include "shell/recent_files.h"

using namespace tavoe;

namespace {

// Each test gets a block of its own, so tests never see each other's sessions, and removes it.
class Instances : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        start_.programPath = "/work/build/bin/tavoe";
        start_.blockName = Format("/tavoe_insttest_%d_%d", static_cast<int>(getpid()), ++counter);
    }
    void TearDown() override { shm_unlink(start_.blockName.c_str()); }

    // A registered instance whose activations are recorded instead of reaching a terminal.
    AppSession& NewSession() {
        apps_.push_back(std::make_unique<AppSession>());
        AppSession& app = *apps_.back();
        Instance(app).activateWindow = [this](AppSession&, int slot, int pid) {
            activated_.push_back({slot, pid});
            return true;
        };
        RegisterSession(app, start_);
        return app;
    }

    static bool BlockExists(const std::string& name) {
        int fd = shm_open(name.c_str(), O_RDONLY, 0);
        if (fd < 0) {
            return false;
        }
        close(fd);
        return true;
    }

    SessionStart start_;
    std::vector<std::unique_ptr<AppSession>> apps_;
    std::vector<std::pair<int, int>> activated_;
};

}  // namespace

TEST_F(Instances, RegistrationHandsOutIdsAndLeavingCompactsTheTable) {
    AppSession& a = NewSession();
    AppSession& b = NewSession();
    AppSession& c = NewSession();
    EXPECT_EQ(Instance(a).sessionId, 1);
    EXPECT_EQ(Instance(b).sessionId, 2);
    EXPECT_EQ(Instance(c).sessionId, 3);
    SharedSessionBlock& block = *a.shared;
    EXPECT_EQ(block.SessionCount(), 3);
    EXPECT_EQ(block.HighestSessionCount(), 3);
    EXPECT_EQ(block.SlotOwner(2), getpid());
    EXPECT_EQ(block.LastRegistered(), getpid());
    SetSessionWindow(b, 1234);
    EXPECT_EQ(block.SlotWindow(1), 1234);
    EXPECT_EQ(block.SlotWindow(0), 0);  // a has no window yet

    UnregisterSession(b);
    EXPECT_EQ(b.shared, nullptr);
    EXPECT_EQ(block.SessionCount(), 2);
    EXPECT_EQ(block.SlotId(0), 1);
    EXPECT_EQ(block.SlotId(1), 3);
    EXPECT_EQ(block.SlotId(2), 0);
    EXPECT_EQ(OwnSlotIndex(c), 1);
    EXPECT_EQ(block.HighestSessionCount(), 3);
    // Those remaining were asked to rebuild their Window menus and titles.
    EXPECT_EQ(HandleNotifications(c), kPendingWindowMenu | kPendingTitle);
    EXPECT_EQ(Instance(c).title, "Verso[2]");
    EXPECT_EQ(Instance(c).windowMenu.size(), 2u);

    AppSession& d = NewSession();
    EXPECT_EQ(Instance(d).sessionId, 4);
    EXPECT_EQ(OwnSlotIndex(d), 2);

    UnregisterSession(a);
    UnregisterSession(c);
    EXPECT_TRUE(BlockExists(start_.blockName));
    UnregisterSession(d);
    EXPECT_FALSE(BlockExists(start_.blockName));  // the last one to leave removes the block
    AppSession& e = NewSession();
    EXPECT_EQ(Instance(e).sessionId, 1);  // a fresh block counts from the start
    UnregisterSession(e);
}

TEST_F(Instances, TheThirtyThirdRunsUnregisteredButSharesTheBlock) {
    for (int i = 0; i < kMaxSessions; ++i) {
        NewSession();
    }
    AppSession& extra = NewSession();
    EXPECT_EQ(Instance(extra).sessionId, 0);
    ASSERT_EQ(extra.messages.size(), 1u);
    EXPECT_EQ(extra.messages[0].text, "Can not register any more Tavo sessions, max = 32");
    EXPECT_EQ(extra.messages[0].to, MsgTo::Box);
    SharedSessionBlock& block = *apps_[0]->shared;
    EXPECT_EQ(block.SessionCount(), 32);

    SetSessionWindow(extra, 999);
    SetSessionTitle(extra, "intruder");
    for (int i = 0; i < kMaxSessions; ++i) {
        EXPECT_NE(block.SlotWindow(i), 999);
        EXPECT_NE(block.SlotTitle(i), "intruder");
    }
    block.SetRecentPath(0, "/seen/by/all");
    EXPECT_EQ(SharedBlock(extra).RecentPath(0), "/seen/by/all");
    UnregisterSession(extra);
    EXPECT_EQ(block.SessionCount(), 32);
    EXPECT_TRUE(BlockExists(start_.blockName));
    for (size_t i = 0; i < kMaxSessions; ++i) {
        UnregisterSession(*apps_[i]);
    }
}

namespace {

// A child process that registers in the block and ends without leaving, as a crashed instance
// would. Returns its process id once it has ended; it is reaped unless `reap` says otherwise.
enum class Reap { Yes, No };
pid_t RegisterAndVanish(const SessionStart& start, Reap reap) {
    pid_t child = fork();
    if (child == 0) {
        AppSession orphan;
        _exit(RegisterSession(orphan, start) > 0 ? 0 : 1);
    }
    if (child > 0) {
        siginfo_t info{};
        waitid(P_PID, child, &info, WEXITED | (reap == Reap::No ? WNOWAIT : 0));
    }
    return child;
}

}  // namespace

TEST_F(Instances, SlotsOfEndedProcessesAreReclaimed) {
    AppSession& first = NewSession();
    // An ended child not yet reaped (a zombie) holds no instance either.
    pid_t zombie = RegisterAndVanish(start_, Reap::No);
    ASSERT_GT(zombie, 0);
    EXPECT_EQ(first.shared->SessionCount(), 2);
    AppSession& second = NewSession();
    EXPECT_EQ(first.shared->SessionCount(), 2);
    EXPECT_EQ(OwnSlotIndex(second), 1);
    waitpid(zombie, nullptr, 0);

    ASSERT_GT(RegisterAndVanish(start_, Reap::Yes), 0);
    EXPECT_EQ(first.shared->SessionCount(), 3);
    AppSession& third = NewSession();
    EXPECT_EQ(first.shared->SessionCount(), 3);
    EXPECT_EQ(OwnSlotIndex(first), 0);
    EXPECT_EQ(OwnSlotIndex(second), 1);
    EXPECT_EQ(OwnSlotIndex(third), 2);
    EXPECT_EQ(Instance(third).sessionId, 5);  // ids keep counting
    UnregisterSession(first);
    UnregisterSession(second);
    UnregisterSession(third);
}

TEST_F(Instances, TitlesFollowTheSessionCountAndContext) {
    EXPECT_EQ(ComposeWindowTitle(1, 0, "", TitleContext::None), "Verso");
    EXPECT_EQ(ComposeWindowTitle(2, 1, "", TitleContext::None), "Verso[2]");
    EXPECT_EQ(ComposeWindowTitle(3, 0, "FILELIST /home", TitleContext::Description),
              "Verso[1]  FILELIST /home");
    EXPECT_EQ(ComposeWindowTitle(1, 0, "Menu", TitleContext::Description), "Verso  Menu");
    EXPECT_EQ(ComposeWindowTitle(3, 2, "main.c", TitleContext::EditFileName), "main.c");
    EXPECT_EQ(ComposeWindowTitle(32, -1, "", TitleContext::None), "Verso");  // unregistered

    AppSession& a = NewSession();
    SetTitleContext(a, "", TitleContext::None);
    EXPECT_EQ(Instance(a).title, "Verso");
    AppSession& b = NewSession();
    SetTitleContext(b, "R&D notes.txt", TitleContext::EditFileName);
    BroadcastTitles(b);
    HandleNotifications(a);
    HandleNotifications(b);
    EXPECT_EQ(Instance(a).title, "Verso[1]");
    EXPECT_EQ(a.shared->SlotTitle(0), "Verso[1]");
    EXPECT_EQ(a.shared->SlotTitle(1), "R&D notes.txt");

    std::vector<ShellMenuItem> items = WindowMenuItems(a);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, 290);
    EXPECT_EQ(items[0].text, "Verso[1]");
    EXPECT_TRUE(items[0].greyed);
    EXPECT_EQ(items[1].id, 291);
    EXPECT_EQ(items[1].text, "R&&D notes.txt");
    EXPECT_FALSE(items[1].greyed);
    UnregisterSession(a);
    UnregisterSession(b);
}

// Long work shows its progress as the main window's title; the other instances' Window menus keep
// the title the instance had, and it comes back when the work ends.
TEST_F(Instances, AProgressTitleStandsInUntilItIsCleared) {
    AppSession& a = NewSession();
    ConnectInstance(a);
    SetTitleContext(a, "notes.txt", TitleContext::EditFileName);
    Shell(a).ShowProgressTitle(a, "Sorting ...");
    EXPECT_EQ(Instance(a).title, "Sorting ...");
    EXPECT_EQ(a.shared->SlotTitle(0), "notes.txt");
    Shell(a).ShowProgressTitle(a, "");
    EXPECT_EQ(Instance(a).title, "notes.txt");
    UnregisterSession(a);
}

TEST_F(Instances, SwapWalksTheTableOnlyWithCooperation) {
    AppSession& a = NewSession();
    AppSession& b = NewSession();
    SetSessionWindow(a, 501);
    SetSessionWindow(b, 502);
    EXPECT_EQ(SwapNext(b), 0);
    EXPECT_TRUE(activated_.empty());  // cooperation is off

    a.sessionCooperation = b.sessionCooperation = true;
    EXPECT_EQ(SwapNext(b), 0);      // SWAP from the second activates the first
    EXPECT_EQ(SwapPrevious(a), 0);  // SWAPBACK from the first activates the second
    ASSERT_EQ(activated_.size(), 2u);
    EXPECT_EQ(activated_[0], std::make_pair(0, 501));
    EXPECT_EQ(activated_[1], std::make_pair(1, 502));
    EXPECT_EQ(Instance(a).windowMenu.size(), 2u);  // activation rebuilds the own Window menu

    EXPECT_TRUE(RunInstanceMenuCommand(a, 291));
    EXPECT_EQ(activated_.back(), std::make_pair(1, 502));
    EXPECT_EQ(ActivateSlot(a, 2), -1);
    EXPECT_EQ(a.messages.back().text, "Session swap index out of range.");
    EXPECT_FALSE(RunInstanceMenuCommand(a, 289));

    AppSession stranger;  // shares the block but holds no slot
    std::string error;
    stranger.shared = SharedSessionBlock::OpenNamed(start_.blockName, &error);
    stranger.sessionCooperation = true;
    EXPECT_EQ(SwapNext(stranger), -1);
    EXPECT_EQ(stranger.messages.back().text, "Unable to get window index for session swap.");
    UnregisterSession(a);
    UnregisterSession(b);
}

TEST_F(Instances, OutsideTmuxActivationSaysWhyItCannotAct) {
    AppSession& a = NewSession();
    NewSession();
    Instance(a).activateWindow = nullptr;
    const char* saved = getenv("TMUX");
    std::string savedValue = saved ? saved : "";
    unsetenv("TMUX");
    EXPECT_EQ(ActivateSlot(a, 1), -1);
    if (saved) {
        setenv("TMUX", savedValue.c_str(), 1);
    }
    ASSERT_FALSE(a.messages.empty());
    EXPECT_NE(a.messages.back().text.find("Session 2 runs in another terminal window"), std::string::npos);
    EXPECT_NE(a.messages.back().text.find("tmux"), std::string::npos);
    UnregisterSession(*apps_[1]);
    // Leaving quietly: no message when the next one cannot be brought up.
    size_t shown = a.messages.size();
    UnregisterSession(a);
    EXPECT_EQ(a.messages.size(), shown);
}

TEST_F(Instances, CloseAllReachesEveryInstanceThroughItsSlot) {
    ASSERT_TRUE(InstallNotifyHandler());
    int wake[2];
    ASSERT_EQ(pipe2(wake, O_NONBLOCK), 0);
    SetNotifyWakeFd(wake[1]);
    DrainNotifyPipe();

    AppSession& a = NewSession();
    AppSession& b = NewSession();
    SetSessionWindow(a, getpid());  // rings reach this very process
    CloseAllSessions(b);
    EXPECT_TRUE(DrainNotifyPipe());
    char byte = 0;
    EXPECT_EQ(read(wake[0], &byte, 1), 1);
    SetNotifyWakeFd(-1);
    close(wake[0]);
    close(wake[1]);

    EXPECT_EQ(HandleNotifications(a), kPendingClose);
    EXPECT_TRUE(Instance(a).closeRequested);
    EXPECT_EQ(HandleNotifications(b), kPendingClose);
    EXPECT_TRUE(Instance(b).closeRequested);
    EXPECT_EQ(HandleNotifications(a), 0u);
    EXPECT_EQ(RingProcess(0), -1);  // never a whole process group
    UnregisterSession(a);
    UnregisterSession(b);
}

TEST(SessionCooperation, OffNamesTheCommand) {
    AppSession app;
    ConnectInstance(app);
    RunGeneralCommand(app, "splith");
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(
        app.messages[0].text,
        "Command 'SPLITH' is not operative when Session Cooperation is OFF.\n\nClick on menu OPTIONS, item "
        "GENERAL to set Session Cooperation.");
    EXPECT_EQ(app.messages[0].beep, Beep::Information);
    VarSetValue(app, "ZSESSIONCOOPERATION", "TRUE");
    LoadSessionCooperation(app);
    RunGeneralCommand(app, "swap");  // cooperation on: SWAP itself answers
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[1].text, "No other sessions.");
}

TEST(RecentFiles, MostRecentFirstWithoutDuplicatesAndAtMost27) {
    AppSession app;
    RecentFileAdd(app, "/a");
    RecentFileAdd(app, "/b");
    RecentFileAdd(app, "/c");
    RecentFileAdd(app, "/a");
    EXPECT_EQ(RecentFiles(app), (std::vector<std::string>{"/a", "/c", "/b"}));
    for (int i = 0; i < 30; ++i) {
        RecentFileAdd(app, Format("/f%d", i));
    }
    std::vector<std::string> files = RecentFiles(app);
    ASSERT_EQ(files.size(), 27u);
    EXPECT_EQ(files.front(), "/f29");
    EXPECT_EQ(files.back(), "/f3");  // the oldest fell off
    RecentFileAdd(app, "/f3");       // the last entry moves to the front, nothing is lost
    files = RecentFiles(app);
    EXPECT_EQ(files.size(), 27u);
    EXPECT_EQ(files.front(), "/f3");
    EXPECT_EQ(files.back(), "/f4");
    RecentFileAdd(app, "");
    RecentFileAdd(app, "/" + std::string(255, 'x'));
    EXPECT_EQ(RecentFiles(app).front(), "/f3");
}

TEST(RecentFiles, MenuShowsEightItemsGreyedWhileInUse) {
    AppSession app;
    for (int i = 0; i < 10; ++i) {
        RecentFileAdd(app, Format("/dir/file%d", i));
    }
    RecentFileAdd(app, "/R&D/plan.txt");
    RecentFileSetInUse(app, "/dir/file9", RecentUse::InUse);
    RecentFileSetInUse(app, "/not/listed", RecentUse::InUse);
    RebuildRecentMenu(app);
    const std::vector<ShellMenuItem>& items = Instance(app).recentMenu;
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].id, 280);
    EXPECT_EQ(items[0].text, "&1  /R&&D/plan.txt");
    EXPECT_FALSE(items[0].greyed);
    EXPECT_EQ(items[1].text, "&2  /dir/file9");
    EXPECT_TRUE(items[1].greyed);
    EXPECT_EQ(items[7].id, 287);
    EXPECT_EQ(items[7].text, "&8  /dir/file3");
    EXPECT_EQ(RecentFileCommand(app, 281), "edit /dir/file9");
    EXPECT_EQ(RecentFileCommand(app, 288), "");
    // Opening the file again puts it in front and free.
    RecentFileAdd(app, "/dir/file9");
    EXPECT_FALSE(RecentMenuItems(app)[0].greyed);
    RecentFileSetInUse(app, "/dir/file9", RecentUse::InUse);
    EXPECT_TRUE(RecentMenuItems(app)[0].greyed);
    RecentFileSetInUse(app, "/dir/file9", RecentUse::Free);
    EXPECT_FALSE(RecentMenuItems(app)[0].greyed);
}
