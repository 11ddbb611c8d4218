// QUORLAND's entry point; everything happens in runGame, once per run (the
// page may play several runs in turn, each from a fresh game state).
#include <string>
#include <vector>

#include "app/game_app.h"
#include "framework/platform.h"
#include "game/classic_rand.h"
#include "game/game_state.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    int exitCode = 0;
    for (bool first = true; platformNextRun(arguments); first = false) {
        if (!first) {
            resetGameState();
            resetClassicRand();
        }
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        exitCode = runGame(static_cast<int>(arguments.size()), pointers.data());
    }
    return exitCode;
}
