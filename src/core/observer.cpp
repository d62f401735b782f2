#include "core/observer.h"

const GameObserver* game_observers[most_game_observers] = {};

bool add_game_observer(const GameObserver* observer) {
    for (const GameObserver*& place : game_observers) {
        if (place == observer) return true;
        if (!place) {
            place = observer;
            return true;
        }
    }
    return false;
}

void remove_game_observer(const GameObserver* observer) {
    int kept = 0;
    for (const GameObserver* each : game_observers)
        if (each != observer) game_observers[kept++] = each;
    while (kept < most_game_observers) game_observers[kept++] = nullptr;
}

void clear_game_observers() {
    for (const GameObserver*& place : game_observers) place = nullptr;
}
