// The pictures folder as the desktop's user-dirs.dirs names it.
#include <gtest/gtest.h>

#include "hosts/desktop/user_dirs.h"

TEST(UserDirs, TheLastPicturesLineWinsWithHomePutIn) {
    const std::string text =
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(pictures_dir_in_user_dirs(text, "/home/ana"), "/home/ana/Bilder");
    EXPECT_EQ(pictures_dir_in_user_dirs(text + "XDG_PICTURES_DIR=\"/srv/my \\\"shots\\\"\"\n", "/home/ana"),
              "/srv/my \"shots\"");
}

TEST(UserDirs, NoFolderFromALineThatNamesNoneItCanUse) {
    for (const char* text : {"XDG_PICTURES_DIR=\"Pictures\"\n", "XDG_PICTURES_DIR=\"$HOME/Pictures\n",
                             "XDG_PICTURES_DIR=$HOME/Pictures\n", "XDG_PICTURES_DIR=\"$HOMEWORK\"\n", "", "\""})
        EXPECT_EQ(pictures_dir_in_user_dirs(text, "/home/ana"), "") << text;
    EXPECT_EQ(pictures_dir_in_user_dirs("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", ""), "");
}
