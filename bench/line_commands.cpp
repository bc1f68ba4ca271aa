// Line commands on a 1,000,000-line, 80-column file, each against sed making the same edit to the
// same file in the same run: DD over 500,000 lines, CC..CC with A copying 500,000 lines, R99999 on
// one line, XX over the whole file, and UNDO of each. The file is loaded before each command
// (untimed); the command and its UNDO are timed in the process, sed as a whole program run.
// Usage: bench_line_commands [LINES [CASE]]  (CASE: a part of the case names to run only those)

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/line_commands.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"

#include "cp_yardstick.h"

using namespace tavoe;

namespace {

// Wall and CPU seconds of some work: the CPU time of this process, or of the child processes it
// waited for (sed), so that the ratios hold on a machine busy with other work.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing Seconds(const std::function<void()>& work, int who = RUSAGE_SELF) {
    auto start = std::chrono::steady_clock::now();
    double cpu = CpuSeconds(who);
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuSeconds(who) - cpu};
}

Timing SedSeconds(const std::string& command) {
    return Seconds(
        [&] {
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "failed: %s\n", command.c_str());
            }
        },
        RUSAGE_CHILDREN);
}

LineRecord* DataLine(EditBuffer& buffer, long n) {
    LineRecord* line = LineFirst(buffer);
    for (long i = 0; i < n; ++i) {
        line = LineNext(line);
    }
    return line;
}

struct Case {
    const char* name;
    std::string sed;
    std::function<void(EditSession&)> type;  // the prefix commands
    std::function<bool(EditSession&)> check;
};

// Only the cases whose name holds this text run (all when it is empty): for profiling one of them.
std::string onlyCase;

void Run(AppSession& app, const std::string& path, const Case& c) {
    if (std::string(c.name).find(onlyCase) == std::string::npos) {
        return;
    }
    Timing sed = SedSeconds(c.sed);
    auto session = std::make_unique<EditSession>(app);
    if (OpenFile(session->buffer, path, OpenMode::Edit, LoadQuiet::NoCapsScan | LoadQuiet::NoSummary) != 0 ||
        FinishLoad(session->buffer) != 0) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        std::exit(1);
    }
    session->view.topLine = LineFirst(session->buffer);
    session->view.prefixWidth = 7;
    session->view.dataRows = 30;
    session->view.dataColumns = 87;
    (void)UndoSyncSession(app, *session);
    c.type(*session);
    Timing command = Seconds([&] { ProcessLineCommands(app, *session); });
    bool ok = c.check(*session);
    Timing undo = Seconds([&] { (void)UndoStep(app, session.get()); });
    std::printf("%-36s %s\n", c.name, ok ? "" : "WRONG RESULT");
    std::printf("  wall: sed %6.3f s | command %6.3f s (%4.2f x sed) | UNDO %6.3f s (%4.2f x sed)\n",
                sed.wall, command.wall, command.wall / sed.wall, undo.wall, undo.wall / sed.wall);
    std::printf("  cpu:  sed %6.3f s | command %6.3f s (%4.2f x sed) | UNDO %6.3f s (%4.2f x sed)\n", sed.cpu,
                command.cpu, command.cpu / sed.cpu, undo.cpu, undo.cpu / sed.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    onlyCase = argc > 2 ? argv[2] : "";
    const long half = lines / 2;
    const std::string dir = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    const std::string path = dir + "/tavoe_linecmd_bench.txt";
    const std::string out = dir + "/tavoe_linecmd_bench.out";
    const std::string repeat = dir + "/tavoe_linecmd_bench.rep";
    {
        FILE* file = std::fopen(path.c_str(), "w");
        for (long i = 1; i <= lines; ++i) {
            std::fprintf(file, "%06ld IDENTIFICATION DIVISION.  PROGRAM-ID. PAYROLL.  %-24ld\n", i % 1000000,
                         i);
        }
        std::fclose(file);
        FILE* rep = std::fopen(repeat.c_str(), "w");
        for (long i = 0; i < 99999; ++i) {
            std::fprintf(rep, "%06ld IDENTIFICATION DIVISION.  PROGRAM-ID. PAYROLL.  %-24ld\n", half, half);
        }
        std::fclose(rep);
        std::system(("cat " + path + " > /dev/null").c_str());
    }
    AppSession app;
    VarSetValue(app, "ZUNDO", "TRUE");
    app.profileSettings.undoEnabled = true;
    std::printf("%ld lines of 80 columns (load average: ", lines);
    std::fflush(stdout);
    std::system("cut -d' ' -f1-3 /proc/loadavg | tr -d '\\n'");
    std::printf(")\n");
    const long first = lines / 4 + 1;
    const long last = first + half - 1;
    Run(app, path,
        {"DD over 500,000 lines",
         "sed '" + std::to_string(first) + "," + std::to_string(last) + "d' " + path + " > " + out,
         [&](EditSession& s) {
             LineSetPendingCommand(*DataLine(s.buffer, first), "DD");
             LineSetPendingCommand(*DataLine(s.buffer, last), "DD");
         },
         [&](EditSession& s) {
             return LineCount(s.buffer) == static_cast<std::uint32_t>(lines - half + 2);
         }});
    Run(app, path,
        {"CC..CC + A copying 500,000 lines",
         "sed -e '1," + std::to_string(half) + "H' -e '${p;x;s/^\\n//}' " + path + " > " + out,
         [&](EditSession& s) {
             LineSetPendingCommand(*DataLine(s.buffer, 1), "CC");
             LineSetPendingCommand(*DataLine(s.buffer, half), "CC");
             LineSetPendingCommand(*DataLine(s.buffer, lines), "A");
         },
         [&](EditSession& s) {
             return LineCount(s.buffer) == static_cast<std::uint32_t>(lines + half + 2);
         }});
    Run(app, path,
        {"R99999 on one line", "sed '" + std::to_string(half) + "r " + repeat + "' " + path + " > " + out,
         [&](EditSession& s) { LineSetPendingCommand(*DataLine(s.buffer, half), "R99999"); },
         [&](EditSession& s) {
             return LineCount(s.buffer) == static_cast<std::uint32_t>(lines + 99999 + 2);
         }});
    Run(app, path,
        {"XX over the whole file (sed: a pass)", "sed '' " + path + " > " + out,
         [&](EditSession& s) {
             LineSetPendingCommand(*DataLine(s.buffer, 1), "XX");
             LineSetPendingCommand(*DataLine(s.buffer, lines), "XX");
         },
         [&](EditSession& s) { return s.buffer.visibleLineCount == 3; }});
    std::remove(path.c_str());
    std::remove(out.c_str());
    std::remove(repeat.c_str());
    return 0;
}
