#include "shell/window_position.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/app_session.h"
#include "platform/format.h"
#include "shell/instances.h"

namespace tavoe {

namespace {

constexpr size_t kMaxPositionLine = 256;

int NumberAfter(std::string_view line, size_t start) {
    int value = 0;
    std::string_view digits = line.substr(start);
    size_t begin = digits.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return 0;
    }
    digits = digits.substr(begin);
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

std::string ProgramDirectory(const AppSession& app) {
    const std::string& program = Instance(app).programPath;
    size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

}  // namespace

WindowPosition DefaultWindowPosition(int workWidth, int workHeight) {
    WindowPosition position;
    position.width = std::min(workWidth, 640);
    position.height = std::min(workHeight, 480);
    position.x = std::max((workWidth - position.width) / 2, 0);
    position.y = std::max((workHeight - position.height) / 2, 0);
    return position;
}

WindowPosition ParseWindowPosition(std::string_view text, WindowPosition position) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() > kMaxPositionLine) {
            continue;
        }
        if (line.starts_with("X_POS=")) {
            position.x = NumberAfter(line, 6);
        } else if (line.starts_with("Y_POS=")) {
            position.y = NumberAfter(line, 6);
        } else if (line.starts_with("X_EXTENT=")) {
            position.width = NumberAfter(line, 9);
        } else if (line.starts_with("Y_EXTENT=")) {
            position.height = NumberAfter(line, 9);
        } else if (line.starts_with("MAXIMIZED=")) {
            position.maximized = line.substr(10).starts_with("TRUE");
        }
    }
    return position;
}

WindowPosition FitWindowPosition(WindowPosition position, int workWidth, int workHeight) {
    position.width = std::clamp(position.width, 0, std::max(workWidth, 0));
    position.height = std::clamp(position.height, 0, std::max(workHeight, 0));
    position.x = std::max(position.x, 0);
    position.y = std::max(position.y, 0);
    while (position.x > 0 && position.x + position.width > workWidth) {
        --position.x;
    }
    while (position.y > 0 && position.y + position.height > workHeight) {
        --position.y;
    }
    return position;
}

std::string WindowPositionPath(const AppSession& app) {
    std::string directory;
    if (const char* home = std::getenv("TAVOE35"); home != nullptr && home[0] != '\0') {
        directory = home;
    } else if (!app.sharedHome.empty()) {
        directory = app.homeDirectory;  // a shared installation: the user's own home
    } else {
        directory = ProgramDirectory(app);
        if (directory.empty() || ::access(directory.c_str(), W_OK) != 0) {
            const char* tmp = std::getenv("TMPDIR");
            directory = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
        }
    }
    if (directory.empty() || directory.back() != '/') {
        directory += '/';
    }
    return directory + std::string(kPositionFileName);
}

WindowPosition ReadWindowPosition(AppSession& app, int workWidth, int workHeight) {
    SharedSessionBlock& block = SharedBlock(app);
    WindowPosition position = DefaultWindowPosition(workWidth, workHeight);
    if (block.WindowPositionState() == 1) {
        position.x = block.WindowX();
        position.y = block.WindowY();
        position.width = block.WindowExtentX();
        position.height = block.WindowExtentY();
        position.maximized = block.WindowMaximized() != 0;
    } else {
        std::ifstream file(WindowPositionPath(app), std::ios::binary);
        if (file) {
            std::ostringstream text;
            text << file.rdbuf();
            position = ParseWindowPosition(text.str(), position);
        }
    }
    position = FitWindowPosition(position, workWidth, workHeight);
    block.SetWindowX(position.x);
    block.SetWindowY(position.y);
    block.SetWindowExtentX(position.width);
    block.SetWindowExtentY(position.height);
    block.SetWindowMaximized(position.maximized ? 1 : 0);
    block.SetWindowPositionState(1);
    return position;
}

void NoteWindowSize(AppSession& app, int width, int height) {
    SharedSessionBlock& block = SharedBlock(app);
    block.SetWindowExtentX(width);
    block.SetWindowExtentY(height);
}

Status WriteWindowPosition(AppSession& app) {
    SharedSessionBlock& block = SharedBlock(app);
    std::string text = Format("X_POS=%d\nY_POS=%d\nX_EXTENT=%d\nY_EXTENT=%d\n", block.WindowX(),
                              block.WindowY(), block.WindowExtentX(), block.WindowExtentY());
    text += block.WindowMaximized() != 0 ? "MAXIMIZED=TRUE" : "MAXIMIZED=FALSE";
    std::ofstream file(WindowPositionPath(app), std::ios::binary | std::ios::trunc);
    if (!file) {
        return -1;
    }
    file << text;
    return file.good() ? 0 : -1;
}

}  // namespace tavoe
