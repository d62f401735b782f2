#include "support/scratch_display.h"

#include <unistd.h>

#include <cstdlib>

#include "graphics/graphics.h"
#include "shell/shell.h"

void ScratchDisplayTest::SetUp() {
    char pattern[] = "/tmp/kuzari-scratch-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    prepare_files();
    headless_configure(HeadlessConfig{});
    main_window = platform_create_window("Kuzari", screen_width, screen_height);
    ASSERT_TRUE(init_display(screen_width, screen_height));
    startup_events_ = headless_take_events();
}

void ScratchDisplayTest::TearDown() {
    release_display();
    std::system(("rm -rf '" + dir_ + "'").c_str());
}
