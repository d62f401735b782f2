// Room for the game's call stack while a step waits for a data file still on
// its way. The module is built with binaryen's Asyncify, the data-file open
// its one import that may wait: the page puts the step's frames aside here,
// runs no step until the file has come, then resumes the same step where it
// stopped (holding.js). Nothing of the game's sees the wait.
#include "hosts/web/web_host.h"

namespace {

// Asyncify's own header (where the saved frames end, and the room's end),
// then the frames: a dozen calls deep from web_step to the open, with room
// to spare.
constexpr uint32_t hold_room_bytes = 16384;
alignas(16) uint8_t hold_room[hold_room_bytes];

}  // namespace

WEB_EXPORT("web_hold_room") uint8_t* web_hold_room() { return hold_room; }
WEB_EXPORT("web_hold_room_bytes") uint32_t web_hold_room_bytes() { return hold_room_bytes; }
