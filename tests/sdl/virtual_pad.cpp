#include "sdl/virtual_pad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

VirtualPad plug_in(const char* name, bool known, const char* more) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = Uint16(SDL_JOYSTICK_TYPE_UNKNOWN);
    desc.naxes = 2;
    desc.nbuttons = 6;
    desc.nhats = 1;
    desc.name = name;
    VirtualPad pad;
    pad.device_index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(pad.device_index, 0) << SDL_GetError();
    if (known) {
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(pad.device_index), guid, sizeof guid);
        std::fill(guid + 4, guid + 8, '0');  // mappings leave out the name's checksum, as the database's do
        const std::string mapping = std::string(guid) + "," + name +
                                    ",a:b0,b:b1,x:b2,y:b3,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,"
                                    "leftx:a0,lefty:a1," + more + "platform:Linux,";
        EXPECT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();  // 1 added, 0 already there
    }
    EXPECT_EQ(SDL_IsGameController(pad.device_index) == SDL_TRUE, known);
    pad.handle = SDL_JoystickOpen(pad.device_index);
    return pad;
}

void unplug(VirtualPad& pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad.handle);
    SDL_JoystickClose(pad.handle);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    pad.handle = nullptr;
}
