#include "support/committed_font.h"

#include <gtest/gtest.h>

#include <string>

#include "core/data_file.h"

PixelFont committed_font() {
    set_data_folder(KUZARI_DATA_DIR);
    PixelFont font;
    std::string error;
    EXPECT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    return font;
}
