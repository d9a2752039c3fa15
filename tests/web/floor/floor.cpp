// floor.cpp -- the empty page that the browser test's start-up figure is
// measured against: the same toolchain and runtime, a program that does
// nothing but say it started.
#include <cstdio>

int main() {
    std::puts("floor started");
    return 0;
}
