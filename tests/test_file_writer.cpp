// Files written whole or not at all: the target changes only when all of it
// is written, a failure leaves no temporary file, and a stream is written
// straight.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "hosts/shared/file_writer.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

std::string file_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

size_t files_in(const std::string& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(FileWriter, TargetChangesOnlyWhenCommitted) {
    ScratchDir scratch;
    const std::string path = scratch.path + "/out.txt";
    std::ofstream(path) << "old";
    FileWriter writer;
    ASSERT_TRUE(writer_open(&writer, path)) << writer.error;
    ASSERT_TRUE(writer_write(&writer, std::string("new text\n")));
    ASSERT_TRUE(writer_flush(&writer));
    EXPECT_EQ(file_text(path), "old");
    ASSERT_TRUE(writer_commit(&writer)) << writer.error;
    EXPECT_EQ(file_text(path), "new text\n");
    EXPECT_EQ(files_in(scratch.path), 1u);

    ASSERT_TRUE(writer_open(&writer, path));
    writer_write(&writer, std::string("given up"));
    writer_abandon(&writer);
    EXPECT_EQ(file_text(path), "new text\n");
    EXPECT_EQ(files_in(scratch.path), 1u);
}

TEST(FileWriter, TailIsRewrittenInPlace) {
    ScratchDir scratch;
    const std::string path = scratch.path + "/runs.txt";
    FileWriter writer;
    ASSERT_TRUE(writer_open(&writer, path));
    writer_write(&writer, std::string("# seed 1\n"));
    ASSERT_TRUE(writer_rewrite_tail(&writer, 9, "100 down\n"));
    ASSERT_TRUE(writer_rewrite_tail(&writer, 9, "9 down\n1 up\n"));
    ASSERT_TRUE(writer_rewrite_tail(&writer, 16, "2 up\n"));
    // The temporary file holds it as it goes.
    EXPECT_EQ(file_text(writer.temporary), "# seed 1\n9 down\n2 up\n");
    writer_write(&writer, std::string("# frame 11\n"));
    ASSERT_TRUE(writer_commit(&writer));
    EXPECT_EQ(file_text(path), "# seed 1\n9 down\n2 up\n# frame 11\n");
}

TEST(FileWriter, FailuresGiveTheReasonAndLeaveNothing) {
    ScratchDir scratch;
    std::string error;
    EXPECT_FALSE(write_whole_file(scratch.path + "/no/such/folder/x.txt", "x", 1, &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(write_whole_file(scratch.path, "x", 1, &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(files_in(scratch.path), 0u);

    // A device is written straight and cannot be rewritten.
    FileWriter writer;
    ASSERT_TRUE(writer_open(&writer, "/dev/full"));
    EXPECT_TRUE(writer.stream);
    EXPECT_TRUE(writer.temporary.empty());
    EXPECT_FALSE(writer_rewrite_tail(&writer, 0, "x"));
    writer_abandon(&writer);
    ASSERT_TRUE(writer_open(&writer, "/dev/full"));
    writer_write(&writer, std::string("x"));
    EXPECT_FALSE(writer_commit(&writer));
    EXPECT_EQ(writer.error, "No space left on device");
}

TEST(FileWriter, PipeIsWrittenStraightAndAReaderGoneIsAFailure) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(ends[1]);
    FileWriter writer;
    ASSERT_TRUE(writer_open(&writer, path)) << writer.error;
    EXPECT_TRUE(writer.stream);
    ASSERT_TRUE(writer_write(&writer, std::string("line\n")) && writer_flush(&writer));
    char read_back[8] = {};
    EXPECT_EQ(read(ends[0], read_back, sizeof read_back), 5);
    EXPECT_STREQ(read_back, "line\n");
    close(ends[0]);
    close(ends[1]);
    writer_write(&writer, std::string("more\n"));
    EXPECT_FALSE(writer_commit(&writer));
    EXPECT_EQ(writer.error, "Broken pipe");
}

TEST(FileWriter, LinkIsFollowedNotReplaced) {
    ScratchDir scratch;
    const std::string real = scratch.path + "/real.ini", link = scratch.path + "/link.ini";
    std::ofstream(real) << "old";
    fs::create_symlink("real.ini", link);
    std::string error;
    ASSERT_TRUE(write_whole_file(link, "new", 3, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(file_text(real), "new");
}

TEST(FileWriter, ReplacedFileKeepsItsMode) {
    ScratchDir scratch;
    const std::string path = scratch.path + "/private.ini";
    std::ofstream(path) << "old";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    std::string error;
    ASSERT_TRUE(write_whole_file(path, "new", 3, &error)) << error;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST(FileWriter, PipeWithNoReaderIsRefusedAtOnce) {
    ScratchDir scratch;
    const std::string path = scratch.path + "/fifo";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    FileWriter writer;
    EXPECT_FALSE(writer_open(&writer, path));
    EXPECT_EQ(writer.error, "no program is reading from this pipe");
    EXPECT_EQ(writer.fd, -1);
    // With a reader there, it is written and waited for as any pipe is.
    const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(writer_open(&writer, path)) << writer.error;
    ASSERT_TRUE(writer_write(&writer, std::string("line\n")) && writer_commit(&writer)) << writer.error;
    char read_back[8] = {};
    EXPECT_EQ(read(reader, read_back, sizeof read_back), 5);
    close(reader);
}
