#pragma once

#include <cstddef>

// The exports of libtest.so, the sample library for macro calls into shared libraries. Every export
// takes NUL-terminated 8-bit texts; test0..test8 show their parameters in a message box and return the
// box's answer (always OK), test9..test17 return their parameters formatted as a text.
//
// Every returned text lives in one static buffer of the library, shared by all exports: a result is
// valid only until the next call. A text that does not fit the buffer is cut.

inline constexpr std::size_t kSampleBufferSize = 4096;

// The answer of a message box that has only an OK button.
inline constexpr int kSampleBoxOk = 1;

extern "C" {
int test0();
int test1(const char* p1);
int test2(const char* p1, const char* p2);
int test3(const char* p1, const char* p2, const char* p3);
int test4(const char* p1, const char* p2, const char* p3, const char* p4);
int test5(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5);
int test6(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6);
int test7(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6,
          const char* p7);
int test8(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5, const char* p6,
          const char* p7, const char* p8);

const char* test9();
const char* test10(const char* p1);
const char* test11(const char* p1, const char* p2);
const char* test12(const char* p1, const char* p2, const char* p3);
const char* test13(const char* p1, const char* p2, const char* p3, const char* p4);
const char* test14(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5);
const char* test15(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6);
const char* test16(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6, const char* p7);
const char* test17(const char* p1, const char* p2, const char* p3, const char* p4, const char* p5,
                   const char* p6, const char* p7, const char* p8);
}
