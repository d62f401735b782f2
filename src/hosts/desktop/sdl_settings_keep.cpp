// The options menu's changes kept in the settings file the game read at start.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/file_read.h"
#include "hosts/desktop/settings_edit.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/file_writer.h"

namespace {

// As the reader's limit: a file it would refuse is not rewritten either.
constexpr size_t max_settings_bytes = size_t(1) << 20;

}  // namespace

bool keep_settings(const std::string& path, const std::vector<SettingsEdit>& edits, std::string* error) {
    if (path.empty()) {
        *error = "there is no folder for the settings (neither XDG_CONFIG_HOME nor HOME)";
        return false;
    }
    std::string text, reason;
    const FileReadOutcome outcome = read_whole_file(path, max_settings_bytes, &text, &reason);
    if (outcome == file_missing) {
        text.clear();
    } else if (outcome != file_read) {
        *error = "cannot read " + path + ": " + reason;
        return false;
    }
    if (!edit_settings_text(&text, edits)) {
        *error = "a value cannot be written on one line of " + path;
        return false;
    }
    // The folders on the way, as `mkdir -p` would.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    std::string write_error;
    if (!write_whole_file(path, text.data(), text.size(), &write_error)) {
        *error = "cannot write " + path + ": " + write_error;
        return false;
    }
    return true;
}
