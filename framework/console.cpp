#include "framework/console.h"

#include <cstdlib>
#include <iostream>

#include "framework/platform.h"

namespace {

std::string fatalMessage;  // the lines printed with printFatalLine, one per line

}  // namespace

void printLine(const std::string& line) {
    std::cout << line << std::endl;
}

void printFatalLine(const std::string& line) {
    printLine(line);
    fatalMessage += (fatalMessage.empty() ? "" : "\n") + line;
}

void waitForOneCharacter() {
    std::cout.flush();
    platformWaitAfterFatal(fatalMessage);
}

void exitAfterKeypress() {
    waitForOneCharacter();
    std::exit(1);
}
