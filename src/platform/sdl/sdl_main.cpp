// The real game's entry point.
#include <SDL.h>

#include "shell/shell.h"

int main(int, char**) {
    const int exit_code = game_main();
    SDL_Quit();
    return exit_code;
}
