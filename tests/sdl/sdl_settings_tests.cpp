// The settings file's reader: a bad line is reported once, the last too; the
// file's own bytes are shown escaped; what is no settings file is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "hosts/desktop/sdl_settings.h"
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
