// The overlay's pixel font as committed in data/font.
#pragma once

#include "hosts/shared/pixel_font.h"

PixelFont committed_font();
