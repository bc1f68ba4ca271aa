#include "ui/terminal/terminal_backend.h"

#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/format.h"
#include "ui/color_match.h"
#include "ui/input_decoder.h"

namespace tavoe {

namespace ui {
namespace {

// Milliseconds an ESC waits for the rest of its sequence.
constexpr int kEscapeWaitMs = 30;

// Process-wide state for the signal handlers: the bytes that put the terminal back and the saved
// terminal modes. Written once at start, read by the handlers.
char gRestore[512];
size_t gRestoreLength = 0;
struct termios gSavedModes;
std::atomic<bool> gActive{false};
int gSignalPipe[2] = {-1, -1};
volatile sig_atomic_t gResized = 0;
volatile sig_atomic_t gContinued = 0;

constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                 SIGBUS, SIGFPE,  SIGILL, SIGABRT, SIGPIPE};

void RestoreFromSignal() {
    if (gActive.exchange(false)) {
        [[maybe_unused]] ssize_t n = write(STDOUT_FILENO, gRestore, gRestoreLength);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedModes);
    }
}

void OnFatalSignal(int signo) {
    RestoreFromSignal();
    std::signal(signo, SIG_DFL);
    raise(signo);
}

void Poke() {
    if (gSignalPipe[1] >= 0) {
        char byte = 1;
        [[maybe_unused]] ssize_t n = write(gSignalPipe[1], &byte, 1);
    }
}

void OnResize(int) {
    gResized = 1;
    Poke();
}

void OnStop(int) {
    // Ctrl+Z cannot reach us in raw mode; this is a stop sent from outside.
    bool wasActive = gActive.load();
    RestoreFromSignal();
    gActive = wasActive;
    std::signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP);
}

void OnContinue(int) {
    gContinued = 1;
    Poke();
}

void RestoreAtExit() {
    RestoreFromSignal();
}

std::string Cap(const char* name) {
    char* value = tigetstr(const_cast<char*>(name));
    if (value == nullptr || value == reinterpret_cast<char*>(-1)) {
        return std::string();
    }
    return value;
}

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// What a glyph becomes on a terminal that cannot show Unicode: box drawing as "-", "|" and "+",
// arrows as "^", "v", ">" and "<", blocks and shades as "#" and ":".
struct GlyphFallback {
    char32_t glyph;
    wchar_t ascii;
};
constexpr GlyphFallback kGlyphFallbacks[] = {
    {0x2500, L'-'}, {0x2550, L'-'}, {0x2502, L'|'}, {0x2551, L'|'}, {0x250C, L'+'},
    {0x2510, L'+'}, {0x2514, L'+'}, {0x2518, L'+'}, {0x2554, L'+'}, {0x2557, L'+'},
    {0x255A, L'+'}, {0x255D, L'+'}, {0x25B2, L'^'}, {0x25BC, L'v'}, {0x25BA, L'>'},
    {0x25C4, L'<'}, {0x2588, L'#'}, {0x25A0, L'#'}, {0x2591, L':'}, {0x2592, L':'},
};

wchar_t AsciiFallback(char32_t ch) {
    if (ch < 0x7F) {
        return static_cast<wchar_t>(ch);
    }
    for (const GlyphFallback& fallback : kGlyphFallbacks) {
        if (fallback.glyph == ch) {
            return fallback.ascii;
        }
    }
    return ch < 0x100 ? static_cast<wchar_t>(ch) : L'?';
}

}  // namespace

struct TerminalBackend::Impl {
    SCREEN* screen = nullptr;
    ColorMode colors = ColorMode::Mono;
    bool utf8 = false;
    bool cursorShapes = false;
    bool csiU = false;
    DisplaySet set = DisplaySet::Iso8859;
    Palette palette = DefaultPalette();
    InputDecoder decoder;
    std::map<std::pair<int, int>, short> pairs;  // terminal colours -> pair
    int nextPair = 1;
    CursorShape shownShape = CursorShape::Block;
    bool shapeKnown = false;
    bool cursorVisible = true;
    int rows = 24;
    int cols = 80;
    bool stopped = false;

    ColorDepth Depth() const {
        return colors == ColorMode::TrueColor    ? ColorDepth::TrueColor
               : colors == ColorMode::Indexed256 ? ColorDepth::Indexed256
                                                 : ColorDepth::Basic8;
    }

    // The pair for two palette indexes; colours that collapse into one keep the text readable.
    short PairFor(ColorPair color) {
        if (colors == ColorMode::Mono) {
            return 0;
        }
        TerminalPair shown = TerminalPairOf(Depth(), palette, color.fg, color.bg);
        int fg = shown.fg;
        int bg = shown.bg;
        auto key = std::make_pair(fg, bg);
        auto it = pairs.find(key);
        if (it != pairs.end()) {
            return it->second;
        }
        if (nextPair >= COLOR_PAIRS || nextPair > 32767) {
            return 0;
        }
        short pair = static_cast<short>(nextPair++);
        init_extended_pair(pair, fg, bg);
        pairs[key] = pair;
        return pair;
    }

    void ResetPairs() {
        pairs.clear();
        nextPair = 1;
    }

    void WriteRaw(const std::string& bytes) {
        fwrite(bytes.data(), 1, bytes.size(), stdout);
        fflush(stdout);
    }

    void EnterModes() {
        std::string enter = "\033[?1000h\033[?1002h\033[?1006h";
        if (csiU) {
            enter += "\033[>15u";
        }
        WriteRaw(enter);
    }

    void BuildRestore() {
        std::string restore = "\033[?1006l\033[?1002l\033[?1000l";
        if (csiU) {
            restore += "\033[<u";
        }
        restore += Cap("Se") + Cap("sgr0") + Cap("cnorm") + Cap("rmcup");
        gRestoreLength = std::min(restore.size(), sizeof gRestore);
        std::memcpy(gRestore, restore.data(), gRestoreLength);
    }

    void QuerySize() {
        struct winsize ws {};
        if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0) {
            rows = ws.ws_row;
            cols = ws.ws_col;
        } else {
            rows = LINES;
            cols = COLS;
        }
    }

    // Reads and decodes what the terminal sent; waits up to timeoutMs (-1: for ever).
    // Returns an event when one is ready.
    bool Pump(int timeoutMs, Event& out, const WakePipe& wake) {
        while (true) {
            if (decoder.Next(out)) {
                return true;
            }
            struct pollfd fds[3] = {
                {STDIN_FILENO, POLLIN, 0}, {gSignalPipe[0], POLLIN, 0}, {wake.ReadFd(), POLLIN, 0}};
            int wait = decoder.Pending()
                           ? (timeoutMs < 0 ? kEscapeWaitMs : std::min(timeoutMs, kEscapeWaitMs))
                           : timeoutMs;
            int ready = poll(fds, 3, wait);
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            if (ready == 0) {
                if (decoder.Pending()) {
                    decoder.Flush();
                    continue;
                }
                return false;
            }
            if (fds[1].revents & POLLIN) {
                char buffer[64];
                while (read(gSignalPipe[0], buffer, sizeof buffer) > 0) {
                }
                if (gContinued) {
                    gContinued = 0;
                    std::signal(SIGTSTP, OnStop);
                    gActive = true;
                    reset_prog_mode();
                    EnterModes();
                    clearok(curscr, TRUE);
                    shapeKnown = false;
                    out = Event::OfResize(rows, cols);
                    return true;
                }
                if (gResized) {
                    gResized = 0;
                    QuerySize();
                    resize_term(rows, cols);
                    // A resized terminal (a tmux pane split or joined) keeps whatever it chose to
                    // keep: everything is written again, not only what changed since the last frame.
                    clearok(curscr, TRUE);
                    out = Event::OfResize(rows, cols);
                    return true;
                }
            }
            if (fds[2].revents & POLLIN) {
                if (wake.Drain()) {
                    out = Event::Of(EventKind::Wake);
                    return true;
                }
            }
            if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                char buffer[4096];
                ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
                if (n <= 0) {
                    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                        continue;
                    }
                    // The terminal went away: end like the end of a script.
                    out = Event::Of(EventKind::EndOfInput);
                    return true;
                }
                decoder.Feed(std::string_view(buffer, static_cast<size_t>(n)), NowMs());
                if (decoder.CsiUReported() && !csiU) {
                    csiU = true;
                    BuildRestore();
                    WriteRaw("\033[>15u");
                }
            }
            if (timeoutMs == 0 && !decoder.Pending()) {
                return decoder.Next(out);
            }
        }
    }
};

TerminalBackend::TerminalBackend() : impl_(std::make_unique<Impl>()) {}

std::unique_ptr<TerminalBackend> TerminalBackend::Start(std::string& error) {
    if (gActive.load()) {
        error = "The terminal is already in use by this program.";
        return nullptr;
    }
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        error =
            "Tavo/E needs a terminal: standard input and output are not one (use --batch to run a script).";
        return nullptr;
    }
    const char* term = std::getenv("TERM");
    if (term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0) {
        error =
            "The terminal type is not known (TERM is not set or is \"dumb\"); set TERM to the terminal's "
            "type.";
        return nullptr;
    }
    std::setlocale(LC_ALL, "");
    bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    if (!utf8 && std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr) {
        utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    }
    if (tcgetattr(STDIN_FILENO, &gSavedModes) != 0) {
        error = "The terminal's modes cannot be read.";
        return nullptr;
    }
    std::unique_ptr<TerminalBackend> backend(new TerminalBackend());
    Impl& impl = *backend->impl_;
    impl.utf8 = utf8;
    impl.decoder.SetUtf8(utf8);
    impl.screen = newterm(nullptr, stdout, stdin);
    if (impl.screen == nullptr) {
        error =
            Format("The terminal type '%s' is not in the terminal database; set TERM to a known type.", term);
        return nullptr;
    }
    if (Cap("cup").empty()) {
        endwin();
        delscreen(impl.screen);
        impl.screen = nullptr;
        error = Format("The terminal type '%s' cannot move the cursor, which Tavo/E needs.", term);
        return nullptr;
    }
    raw();
    noecho();
    nonl();
    keypad(stdscr, FALSE);
    meta(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    nodelay(stdscr, TRUE);
    if (has_colors()) {
        start_color();
        if (COLORS >= 0x1000000 || tigetflag(const_cast<char*>("RGB")) > 0) {
            impl.colors = ColorMode::TrueColor;
        } else if (COLORS >= 256) {
            impl.colors = ColorMode::Indexed256;
        } else if (COLORS >= 8) {
            impl.colors = ColorMode::Basic8;
        }
    }
    impl.cursorShapes = !Cap("Ss").empty();
    impl.QuerySize();
    resize_term(impl.rows, impl.cols);

    if (gSignalPipe[0] < 0 && pipe2(gSignalPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        gSignalPipe[0] = gSignalPipe[1] = -1;
    }
    impl.BuildRestore();
    gActive = true;
    static bool atExitSet = false;
    if (!atExitSet) {
        std::atexit(RestoreAtExit);
        atExitSet = true;
    }
    for (int signo : kFatalSignals) {
        std::signal(signo, OnFatalSignal);
    }
    std::signal(SIGWINCH, OnResize);
    std::signal(SIGTSTP, OnStop);
    std::signal(SIGCONT, OnContinue);
    impl.EnterModes();
    // Ask whether the terminal speaks the CSI-u keyboard protocol (the reply arrives as input).
    impl.WriteRaw("\033[?u");
    return backend;
}

TerminalBackend::~TerminalBackend() {
    Stop();
}

void TerminalBackend::SuspendForChild() {
    if (impl_->stopped || impl_->screen == nullptr || !gActive) {
        return;
    }
    std::string leave = "\033[?1006l\033[?1002l\033[?1000l";
    if (impl_->csiU) {
        leave += "\033[<u";
    }
    impl_->WriteRaw(leave + Cap("Se"));
    def_prog_mode();
    endwin();  // the shell modes and the normal screen come back for the child
    gActive = false;
}

void TerminalBackend::ResumeAfterChild() {
    if (impl_->stopped || impl_->screen == nullptr || gActive) {
        return;
    }
    reset_prog_mode();
    impl_->EnterModes();
    clearok(curscr, TRUE);
    impl_->shapeKnown = false;
    gActive = true;
    refresh();
}

void TerminalBackend::Stop() {
    if (impl_->stopped || impl_->screen == nullptr) {
        return;
    }
    impl_->stopped = true;
    std::string leave = "\033[?1006l\033[?1002l\033[?1000l";
    if (impl_->csiU) {
        leave += "\033[<u";
    }
    leave += Cap("Se");
    impl_->WriteRaw(leave);
    curs_set(1);
    endwin();
    delscreen(impl_->screen);
    impl_->screen = nullptr;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedModes);
    gActive = false;
    for (int signo : kFatalSignals) {
        std::signal(signo, SIG_DFL);
    }
    std::signal(SIGWINCH, SIG_DFL);
    std::signal(SIGTSTP, SIG_DFL);
    std::signal(SIGCONT, SIG_DFL);
}

ColorMode TerminalBackend::Colors() const {
    return impl_->colors;
}
bool TerminalBackend::Utf8() const {
    return impl_->utf8;
}
int TerminalBackend::Rows() const {
    return impl_->rows;
}
int TerminalBackend::Cols() const {
    return impl_->cols;
}

void TerminalBackend::SetPalette(const Palette& palette) {
    impl_->palette = palette;
    impl_->ResetPairs();
}

void TerminalBackend::SetDisplaySet(DisplaySet set) {
    impl_->set = set;
    impl_->decoder.SetDisplaySet(set);
}

void TerminalBackend::RequestFullRedraw() {
    if (!impl_->stopped && impl_->screen != nullptr) {
        clearok(curscr, TRUE);
    }
}

void TerminalBackend::Present(Canvas& canvas) {
    Impl& impl = *impl_;
    if (impl.stopped) {
        return;
    }
    for (const Canvas::Change& change : canvas.TakeChanges()) {
        if (change.row >= LINES || change.col >= COLS) {
            continue;
        }
        char32_t glyph = change.cell.kind == CellKind::Graphic ? GraphicGlyphOf(change.cell.ch)
                                                               : GlyphOf(change.cell.ch, impl.set);
        wchar_t text[2] = {impl.utf8 ? static_cast<wchar_t>(glyph) : AsciiFallback(glyph), L'\0'};
        short pair = impl.PairFor(change.cell.color);
        attr_t attrs = impl.colors == ColorMode::Mono && change.cell.color.bg != 3 ? A_REVERSE : A_NORMAL;
        cchar_t cc;
        setcchar(&cc, text, attrs, pair, nullptr);
        mvadd_wch(change.row, change.col, &cc);
    }
    const CursorState& cursor = canvas.Cursor();
    bool visible = cursor.visible && cursor.row < LINES && cursor.col < COLS;
    if (visible) {
        move(cursor.row, cursor.col);
    }
    if (visible != impl.cursorVisible) {
        curs_set(visible ? 1 : 0);
        impl.cursorVisible = visible;
    }
    refresh();
    if (visible && impl.cursorShapes && (!impl.shapeKnown || impl.shownShape != cursor.shape)) {
        // DECSCUSR: 2 steady block, 4 steady underline, 6 steady bar.
        int code = cursor.shape == CursorShape::Block ? 2 : cursor.shape == CursorShape::Underline ? 4 : 6;
        impl.WriteRaw(Format("\033[%d q", code));
        impl.shownShape = cursor.shape;
        impl.shapeKnown = true;
    }
}

// OSC 52: the terminal puts the base64 text on the desktop's clipboard, when it allows programs to
// (many do, tmux too with set-clipboard). Nothing answers, so success cannot be known: false.
bool TerminalBackend::OfferClipboard(std::string_view utf8) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string escape = "\033]52;c;";
    escape.reserve(escape.size() + (utf8.size() + 2) / 3 * 4 + 1);
    for (std::size_t i = 0; i < utf8.size(); i += 3) {
        std::uint32_t group = static_cast<std::uint8_t>(utf8[i]) << 16;
        const std::size_t left = utf8.size() - i;
        if (left > 1) {
            group |= static_cast<std::uint8_t>(utf8[i + 1]) << 8;
        }
        if (left > 2) {
            group |= static_cast<std::uint8_t>(utf8[i + 2]);
        }
        escape += kDigits[(group >> 18) & 63];
        escape += kDigits[(group >> 12) & 63];
        escape += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        escape += left > 2 ? kDigits[group & 63] : '=';
    }
    escape += '\a';
    impl_->WriteRaw(escape);
    return false;
}

Event TerminalBackend::WaitEvent() {
    Event event;
    if (impl_->stopped) {
        return Event::Of(EventKind::EndOfInput);
    }
    // Without a timeout, Pump only fails when the terminal can no longer be polled.
    if (!impl_->Pump(-1, event, wake_)) {
        return Event::Of(EventKind::EndOfInput);
    }
    return event;
}

bool TerminalBackend::PollEvent(Event& out) {
    if (impl_->stopped) {
        return false;
    }
    return impl_->Pump(0, out, wake_);
}

void TerminalBackend::Beep() {
    if (!impl_->stopped) {
        beep();
    }
}

}  // namespace ui

}  // namespace tavoe
