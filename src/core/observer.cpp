#include "core/observer.h"

const GameObserver* game_observer = nullptr;
