#include "util.h"

/* Sums two numbers; the pattern holds regex characters: .*+?^$ [x] (y) {z} | \ */
int add(int a, int b) { return a + b; /* .*[] */ }
