// The desktop's user-dirs.dirs on arbitrary text: a folder it finds is always
// absolute, and $HOME matters only where the text names it.
#include <cstdlib>
#include <string>

#include "hosts/desktop/user_dirs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string folder = pictures_dir_in_user_dirs(text, "/home/player");
    if (!folder.empty() && folder[0] != '/') std::abort();
    // Without $HOME in it (a backslash may stand inside the word, as in
    // "$HO\ME"), the text names the same folder whoever reads it.
    std::string unescaped;
    for (const char c : text)
        if (c != '\\') unescaped += c;
    if (unescaped.find("$HOME") == std::string::npos && pictures_dir_in_user_dirs(text, "") != folder) std::abort();
    return 0;
}
