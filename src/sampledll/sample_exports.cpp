#include "sample_exports.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>

namespace {

// The one buffer every export formats into and every returned text points into.
char sampleBuffer[kSampleBufferSize];

// A null pointer is taken as an empty text rather than handed to the formatter.
const char* Text(const char* parameter) {
    return parameter != nullptr ? parameter : "";
}

// Formats into the shared buffer, cutting what does not fit, and returns the buffer.
[[gnu::format(printf, 1, 2)]] const char* Fill(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(sampleBuffer, sizeof sampleBuffer, format, args);
    va_end(args);
    return sampleBuffer;
}

// Shows the buffer in a message box with only an OK button and the default caption: through the
// hook the editor program exports, looked up at each call, or on standard error when the library is
// loaded by a program that has no such hook.
int ShowBuffer() {
    using MessageBoxHook = void (*)(const char* text, const char* title);
    auto hook = reinterpret_cast<MessageBoxHook>(::dlsym(RTLD_DEFAULT, "tavoe_message_box"));
    if (hook != nullptr) {
        hook(sampleBuffer, nullptr);
    } else {
        std::fprintf(stderr, "%s\n", sampleBuffer);
        std::fflush(stderr);
    }
    return kSampleBoxOk;
}

}  // namespace

extern "C" {

int test0() {
    Fill("TEST0: no parms in, no return");
    return ShowBuffer();
}

int test1(const char* p1) {
    Fill("TEST1: p1=%s, no return", Text(p1));
    return ShowBuffer();
}

int test2(const char* p1, const char* p2) {
    Fill("TEST2: p1=%s p2=%s, no return", Text(p1), Text(p2));
    return ShowBuffer();
}

int test3(const char* p1, const char* p2, const char* p3) {
    Fill("TEST3: p1=%s p2=%s p3=%s, no return", Text(p1), Text(p2), Text(p3));
    return ShowBuffer();
}

int test4(const char* p1, const char* p2, const char* p3, const char* p4) {
    Fill("TEST4: p1=%s p2=%s p3=%s p4=%s, no return", Text(p1), Text(p2), Text(p3), Text(p4));
    return ShowBuffer();
}

int test5(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5) {
    Fill("TEST5: p1=%s p2=%s p3=%s p4=%s p5=%s, no return", Text(p1), Text(p2), Text(p3), Text(p4), Text(p5));
    return ShowBuffer();
}

int test6(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6) {
    Fill("TEST6: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s, no return", Text(p1), Text(p2), Text(p3), Text(p4),
         Text(p5), Text(p6));
    return ShowBuffer();
}

int test7(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6,
          const char* p7) {
    Fill("TEST7: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s p7=%s, no return", Text(p1), Text(p2), Text(p3),
         Text(p4), Text(p5), Text(p6), Text(p7));
    return ShowBuffer();
}

int test8(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6,
          const char* p7, const char* p8) {
    Fill("TEST8: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s p7=%s p8=%s, no return", Text(p1), Text(p2), Text(p3),
         Text(p4), Text(p5), Text(p6), Text(p7), Text(p8));
    return ShowBuffer();
}

const char* test9() {
    return Fill("TEST9: no parms in");
}

const char* test10(const char* p1) {
    return Fill("TEST10: p1=%s", Text(p1));
}

const char* test11(const char* p1, const char* p2) {
    return Fill("TEST11: p1=%s p2=%s", Text(p1), Text(p2));
}

const char* test12(const char* p1, const char* p2, const char* p3) {
    return Fill("TEST12: p1=%s p2=%s p3=%s", Text(p1), Text(p2), Text(p3));
}

const char* test13(const char* p1, const char* p2, const char* p3, const char* p4) {
    return Fill("TEST13: p1=%s p2=%s p3=%s p4=%s", Text(p1), Text(p2), Text(p3), Text(p4));
}

const char* test14(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5) {
    return Fill("TEST14: p1=%s p2=%s p3=%s p4=%s p5=%s", Text(p1), Text(p2), Text(p3), Text(p4), Text(p5));
}

const char* test15(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6) {
    return Fill("TEST15: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s", Text(p1), Text(p2), Text(p3), Text(p4),
                Text(p5), Text(p6));
}

const char* test16(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6, const char* p7) {
    return Fill("TEST16: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s p7=%s", Text(p1), Text(p2), Text(p3), Text(p4),
                Text(p5), Text(p6), Text(p7));
}

const char* test17(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6, const char* p7, const char* p8) {
    return Fill("TEST17: p1=%s p2=%s p3=%s p4=%s p5=%s p6=%s p7=%s p8=%s", Text(p1), Text(p2), Text(p3),
                Text(p4), Text(p5), Text(p6), Text(p7), Text(p8));
}

}  // extern "C"
