#include "support/scratch_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "kuzari-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    // A test may still stand in it; step out so that nothing holds it.
    if (fs::current_path(ignored).string().rfind(path, 0) == 0) fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(path, ignored);
}
