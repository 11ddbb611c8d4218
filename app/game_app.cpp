#include "app/game_app.h"

int runGame(int /*argc*/, char** /*argv*/) {
    return 0;
}
