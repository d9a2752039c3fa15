#include "app/startup.h"

int main() {
    halvane::StartUp();
    return 0;
}
