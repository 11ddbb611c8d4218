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
    fatalMessage.clear();  // the page's next run starts with none of these lines
}

void exitAfterKeypress() {
    waitForOneCharacter();
    std::exit(1);
}
