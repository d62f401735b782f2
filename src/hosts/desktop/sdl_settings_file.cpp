// The settings file, read whole (only a regular file, of a settings file's
// size) and parsed with libinih. inih tells its handler no line numbers, so
// the reader that feeds it lines counts them.
#include <ini.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/file_read.h"
#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/file_writer.h"
#include "hosts/shared/settings_table.h"

namespace {

// Far more than every key with its longest value.
constexpr size_t max_settings_bytes = size_t(1) << 20;

struct Reading {
    const std::string* path;
    const std::string* file;  // the whole file
    size_t next = 0;          // where its next line starts
    int line = 0;             // the line inih is working on
    std::string text;         // its text
    bool handled = false;     // inih handed it to the handler, or it has been reported
    bool too_long = false;
    bool holds_nul = false;
};

void report(const Reading& reading, const std::string& what) {
    std::fprintf(stderr, "kuzari: %s:%d: %s; the line is left out\n", shown_text(*reading.path).c_str(), reading.line, what.c_str());
}

// A line inih did not hand on that is neither blank, a comment nor a section
// is broken; reported once.
void check_line_done(Reading* reading_to_check) {
    Reading& reading = *reading_to_check;
    if (reading.line == 0 || reading.handled) return;
    reading.handled = true;
    if (reading.too_long) {
        report(reading, "the line is too long");
        return;
    }
    if (reading.holds_nul) {
        report(reading, "the line holds a NUL byte");
        return;
    }
    const size_t first = reading.text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return;
    const char c = reading.text[first];
    if (c == ';' || c == '#') return;
    const size_t last = reading.text.find_last_not_of(" \t\r\n");
    if (c == '[' && reading.text[last] == ']') return;
    report(reading, "this is not 'key = value' nor a [section]");
}

char* read_line(char* buffer, int size, void* stream) {
    auto* reading = static_cast<Reading*>(stream);
    check_line_done(reading);
    const std::string& file = *reading->file;
    if (reading->next >= file.size()) return nullptr;
    const size_t end = std::min(file.find('\n', reading->next), file.size() - 1) + 1;
    std::string line = file.substr(reading->next, end - reading->next);
    reading->next = end;
    ++reading->line;
    // An editor's byte-order mark is not part of the first line.
    if (reading->line == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    reading->handled = false;
    reading->text = line;
    // inih would take the rest of a long line for a line of its own, and
    // the rest of a line after a NUL for nothing.
    reading->too_long = line.size() >= size_t(size);
    reading->holds_nul = line.find('\0') != std::string::npos;
    if (reading->too_long || reading->holds_nul) line = "\n";
    std::memcpy(buffer, line.c_str(), line.size() + 1);
    return buffer;
}

int take_value(void* user, const char* section, const char* key, const char* value) {
    auto* reading = static_cast<Reading*>(user);
    reading->handled = true;
    const Setting* setting = find_setting(section, key);
    if (!setting) {
        report(*reading, "unknown key '" + shown_text(key) + "'" +
                             (section[0] ? " in [" + shown_text(section) + "]" : std::string()));
    } else if (!setting->set(value)) {
        report(*reading, "'" + shown_text(key) + "' cannot be '" + shown_text(value) + "' (it takes " +
                             setting->values + ")");
    }
    return 1;  // go on with the next line whatever this one was
}

}  // namespace

std::string default_settings_path() {
    const std::string folder = kuzari_config_dir();
    return folder.empty() ? "" : folder + "/kuzari.ini";
}

void read_settings_text(const std::string& path, const std::string& text) {
    Reading reading{&path, &text, 0, 0, "", false, false, false};
    ini_parse_stream(read_line, &reading, take_value, &reading);
    check_line_done(&reading);
}

void read_settings_file(const std::string& path, bool named_by_player) {
    if (path.empty()) return;  // no folder for the player's files
    std::string text, reason;
    const FileReadOutcome outcome = read_whole_file(path, max_settings_bytes, &text, &reason);
    if (outcome != file_read) {
        if (named_by_player || outcome != file_missing)
            std::fprintf(stderr, "kuzari: cannot read %s: %s; playing with the defaults\n", shown_text(path).c_str(),
                         reason.c_str());
        return;
    }
    read_settings_text(path, text);
}

bool write_settings_file(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        std::fprintf(stderr, "kuzari: %s is there already; remove it first to write a fresh one\n",
                     shown_text(path).c_str());
        return false;
    }
    std::string error;
    if (!make_folders_to(path, &error)) {
        std::fprintf(stderr, "kuzari: %s\n", shown_text(error).c_str());
        return false;
    }
    std::string text =
        "# Kuzari's settings. Every key is at its default; the command line wins\n"
        "# over this file (kuzari --help lists the options). A bad line is reported\n"
        "# when the game starts and left out.\n";
    std::string section;
    for (const Setting* setting = settings_begin(); setting != settings_end(); ++setting) {
        if (setting->section != section) {
            section = setting->section;
            text += "\n[" + section + "]\n";
            text += section == keys_section ? "# The game's keys, each any number of keys of the keyboard. Escape, F1,\n"
                                        "# F11, F12 and M belong to the window and cannot be taken.\n"
                                      : "# The game's keys on a pad, each any number of its buttons. Start opens\n"
                                        "# the options menu and cannot be taken.\n";
        }
        text += std::string("\n# ") + setting->about + " (" + setting->values + ")\n" + setting->key + " = " +
                setting->text() + "\n";
    }
    // Whole or not at all: a half-written file would stand in the way of the next try.
    if (!write_whole_file(path, text.data(), text.size(), &error)) {
        std::fprintf(stderr, "kuzari: cannot write %s: %s\n", shown_text(path).c_str(), error.c_str());
        return false;
    }
    std::fprintf(stderr, "kuzari: wrote %s\n", shown_text(path).c_str());
    return true;
}
