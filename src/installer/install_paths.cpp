#include "install_paths.h"

namespace tavoe {

std::optional<std::string> DeriveServerHome(std::string_view programPath) {
    constexpr std::string_view kLower = "/bin/";
    constexpr std::string_view kUpper = "/BIN/";
    size_t lastSlash = programPath.rfind('/');
    if (lastSlash == std::string_view::npos || lastSlash + 1 < kLower.size()) {
        return std::nullopt;
    }
    size_t start = lastSlash + 1 - kLower.size();
    std::string_view ending = programPath.substr(start, kLower.size());
    if (ending != kLower && ending != kUpper) {
        return std::nullopt;
    }
    return std::string(programPath.substr(0, start));
}

std::string ProposeClientHome(std::string_view serverHome, std::string_view userHome) {
    std::string proposal = WithoutTrailingSlashes(userHome);
    std::string_view server = serverHome;
    while (!server.empty() && server.back() == '/') {
        server.remove_suffix(1);
    }
    size_t slash = server.rfind('/');
    std::string_view lastName = slash == std::string_view::npos ? server : server.substr(slash + 1);
    if (lastName.empty()) {
        return proposal.empty() ? std::string("/") : proposal;
    }
    if (proposal != "/") {
        proposal += '/';
    }
    proposal += lastName;
    return proposal;
}

bool HasAbsolutePathForm(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

std::string WithoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::string ShellWord(std::string_view text) {
    auto isPlain = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("/._-+,:@%").find(c) != std::string_view::npos;
    };
    bool plain = !text.empty();
    for (char c : text) {
        plain = plain && isPlain(c);
    }
    if (plain) {
        return std::string(text);
    }
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

}  // namespace tavoe
