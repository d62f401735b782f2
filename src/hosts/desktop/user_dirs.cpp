#include "hosts/desktop/user_dirs.h"

#include <sstream>

namespace {

// The quoted value of a line `KEY="value"`, its backslash escapes undone, as
// a shell would read it; false when the line is not so.
bool quoted_value(const std::string& line, size_t from, std::string* value) {
    if (from >= line.size() || line[from] != '"') return false;
    value->clear();
    for (size_t i = from + 1; i < line.size(); ++i) {
        if (line[i] == '"') return true;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        *value += line[i];
    }
    return false;  // never closed
}

}  // namespace

std::string pictures_dir_in_user_dirs(const std::string& text, const std::string& home) {
    const std::string key = "XDG_PICTURES_DIR=";
    std::string found, line;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
        const size_t first = line.find_first_not_of(" \t");
        std::string value;
        if (first == std::string::npos || line.compare(first, key.size(), key) != 0 ||
            !quoted_value(line, first + key.size(), &value))
            continue;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (home.empty()) continue;
            value = home + value.substr(5);
        }
        if (value[0] != '/') continue;
        found = value;  // the last line of it wins, as in the shell
    }
    return found;
}
