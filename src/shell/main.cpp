#include <cstdio>
#include <cstring>

#include "platform/message_box_hook.h"

// Entry point of the editor program. Until the shell is connected it reports what it is.
int main(int argc, char** argv) {
    SetMessageBoxHandler(nullptr);  // keeps the hook for loaded libraries linked in and exported
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Tavo/E %s\n", TAVOE_VERSION);
            return 0;
        }
    }
    std::printf("Tavo/E %s: the editor shell is not built yet.\n", TAVOE_VERSION);
    std::printf("Built: the storage and settings libraries; try `make test`.\n");
    return 0;
}
