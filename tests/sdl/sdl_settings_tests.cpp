// The settings file's reader: a bad line is reported once, the last too; the
// file's own bytes are shown escaped; what is no settings file is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_setting_values.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/desktop/settings_edit.h"
#include "support/scratch_dir.h"

namespace {

size_t count_of(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string messages_reading(const std::string& text) {
    testing::internal::CaptureStderr();
    read_settings_text("kuzari.ini", text);
    return testing::internal::GetCapturedStderr();
}

}  // namespace

// The page's vibration is no setting of the desktop's.
TEST(SdlSettings, ThePagesOwnSettingIsUnknownHere) {
    EXPECT_NE(messages_reading("vibration = no\n").find("unknown key 'vibration'"), std::string::npos);
}

TEST(SdlSettings, ABadLastLineIsReportedOnce) {
    const std::string messages = messages_reading("fullscreen = no\nnonsense");
    EXPECT_EQ(count_of(messages, "kuzari.ini:2:"), 1u) << messages;
    EXPECT_EQ(count_of(messages, "\n"), 1u) << messages;
}

TEST(SdlSettings, TheFilesControlBytesAndNulsAreShownNotSent) {
    const std::string messages = messages_reading(std::string("k\x1b[2J = 1\nfullscreen = y\0es\n", 28));
    EXPECT_EQ(messages.find('\x1b'), std::string::npos) << messages;
    EXPECT_NE(messages.find("kuzari.ini:1: unknown key 'k\\x1B[2J'"), std::string::npos) << messages;
    EXPECT_NE(messages.find("kuzari.ini:2: the line holds a NUL byte"), std::string::npos) << messages;
}

TEST(SdlSettings, AFolderAFifoOrADeviceIsRefusedAndTheDefaultsStay) {
    const ScratchDir scratch;
    const std::string fifo = scratch.path + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {scratch.path, fifo, std::string("/dev/zero")}) {
        testing::internal::CaptureStderr();
        read_settings_file(path, false);
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_NE(messages.find("cannot read " + path + ": is a"), std::string::npos) << messages;
        EXPECT_NE(messages.find("playing with the defaults"), std::string::npos) << messages;
    }
}

// Every key SDL has a name for, as the menu writes it into the file (on its
// own and first in a list), is the key the game reads back; the window's own
// are refused as they are in the menu.
TEST(SdlSettings, EveryKeySdlNamesReadsBackFromTheFileAsWritten) {
    std::vector<SDL_Keycode> keys;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
        if (*SDL_GetScancodeName(SDL_Scancode(scancode)))
            keys.push_back(SDL_GetKeyFromName(SDL_GetScancodeName(SDL_Scancode(scancode))));
    // What other layouts put on their keys: ASCII's marks, Latin-1 and beyond.
    for (SDL_Keycode key = ' '; key < 0x7F; ++key)
        if (key < 'A' || key > 'Z') keys.push_back(key);
    for (SDL_Keycode key = 0xA1; key < 0x250; ++key) keys.push_back(key);
    const std::vector<SDL_Keycode> saved = host_options.keys[key_throw];
    int checked = 0;
    for (const SDL_Keycode key : keys) {
        if (key == SDLK_UNKNOWN || !*SDL_GetKeyName(key)) continue;
        for (const std::vector<SDL_Keycode>& written : {std::vector<SDL_Keycode>{key}, std::vector<SDL_Keycode>{key, SDLK_z}}) {
            host_options.keys[key_throw] = written;
            std::string text = "[keys]\nthrow = Return\n";
            ASSERT_TRUE(edit_settings_text(&text, {{"keys", "throw", key_list(written)}})) << key_list(written);
            host_options.keys[key_throw] = {SDLK_UNKNOWN};
            testing::internal::CaptureStderr();
            read_settings_text("kuzari.ini", text);
            const std::string messages = testing::internal::GetCapturedStderr();
            if (reserved_key(key)) {
                EXPECT_NE(messages, "") << text;
            } else {
                EXPECT_EQ(host_options.keys[key_throw], written) << text << messages;
                EXPECT_EQ(messages, "") << text;
                ++checked;
            }
        }
    }
    host_options.keys[key_throw] = saved;
    EXPECT_GT(checked, 400);
}

TEST(SdlSettings, AByteOrderMarkBeforeACommentIsNoMistake) {
    EXPECT_EQ(messages_reading("\xEF\xBB\xBF# the player's notes\nfullscreen = no\n"), "");
}

TEST(SdlSettings, AChangeThatWouldPassTheReadersLimitIsRefusedAndTheFileKept) {
    const ScratchDir scratch;
    const std::string path = scratch.path + "/kuzari.ini";
    const std::string text = "# " + std::string((size_t(1) << 20) - 4, 'x') + "\n";
    std::ofstream(path) << text;
    chmod(path.c_str(), 0600);
    std::string error;
    EXPECT_FALSE(keep_settings(path, {{"", "fullscreen", "yes"}}, &error));
    EXPECT_NE(error.find("would grow past 1 MiB"), std::string::npos) << error;
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(size_t(info.st_size), text.size());

    // A change that fits is written, and the file stays the player's only.
    std::ofstream(path) << "fullscreen = no\n";
    ASSERT_TRUE(keep_settings(path, {{"", "fullscreen", "yes"}}, &error)) << error;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}
