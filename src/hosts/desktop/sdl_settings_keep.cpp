// The options menu's changes kept in the settings file the game read at start.
#include <string>
#include <vector>

#include "core/file_read.h"
#include "core/shown_text.h"
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
        *error = "cannot read " + shown_text(path) + ": " + reason;
        return false;
    }
    if (!edit_settings_text(&text, edits)) {
        *error = "a value cannot be written on one line of " + shown_text(path);
        return false;
    }
    if (text.size() > max_settings_bytes) {
        *error = shown_text(path) + " would grow past " + std::to_string(max_settings_bytes >> 20) +
                 " MiB, more than the game reads at start";
        return false;
    }
    std::string write_error;
    if (!make_folders_to(path, &write_error)) {
        *error = shown_text(write_error);
        return false;
    }
    if (!write_whole_file(path, text.data(), text.size(), &write_error)) {
        *error = "cannot write " + shown_text(path) + ": " + write_error;
        return false;
    }
    return true;
}
