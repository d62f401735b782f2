#include "support/scratch_display.h"

#include <unistd.h>

#include "graphics/graphics.h"
#include "shell/shell.h"

void ScratchDisplayTest::SetUp() {
    ASSERT_EQ(chdir(scratch_.path.c_str()), 0);
    prepare_files();
    headless_configure(HeadlessConfig{});
    main_window = platform_create_window("Kuzari", screen_width, screen_height);
    ASSERT_TRUE(init_display(main_window, screen_width, screen_height));
    startup_events_ = headless_take_events();
}

void ScratchDisplayTest::TearDown() { release_display(); }
