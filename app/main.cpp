// QUORLAND's entry point; everything happens in runGame.
#include "app/game_app.h"

int main(int argc, char** argv) {
    return runGame(argc, argv);
}
