// The program: no arguments; it reads its files below the working directory
// and ends through EndProgram (exit code 0, or 1 without a display).
#include "app/startup.h"

int main() {
    halvane::StartUp();
    return 0;
}
