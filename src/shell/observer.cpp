#include "shell/observer.h"

const GameObserver* game_observer = nullptr;
