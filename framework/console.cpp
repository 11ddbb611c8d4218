#include "framework/console.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

void printLine(const std::string& line) {
    std::cout << line << std::endl;
}

void waitForOneCharacter() {
    std::cout.flush();
    std::getchar();
}

void exitAfterKeypress() {
    waitForOneCharacter();
    std::exit(1);
}
