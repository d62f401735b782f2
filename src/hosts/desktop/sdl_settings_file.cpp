// The settings file, read with libinih. inih tells its handler no line
// numbers, so the reader that feeds it lines counts them.
#include <ini.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/file_writer.h"

namespace {

struct Reading {
    const std::string* path;
    std::FILE* file;
    int line = 0;             // the line inih is working on
    std::string text;         // its text
    bool handled = false;     // inih handed it to the handler
    bool too_long = false;
};

void report(const Reading& reading, const std::string& what) {
    std::fprintf(stderr, "kuzari: %s:%d: %s; the line is left out\n", reading.path->c_str(), reading.line, what.c_str());
}

// A line inih did not hand on that is neither blank, a comment nor a section is broken.
void check_line_done(const Reading& reading) {
    if (reading.line == 0 || reading.handled) return;
    if (reading.too_long) {
        report(reading, "the line is too long");
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
    check_line_done(*reading);
    std::string line;
    int c;
    while ((c = std::fgetc(reading->file)) != EOF) {
        line += char(c);
        if (c == '\n') break;
    }
    if (line.empty()) return nullptr;
    ++reading->line;
    reading->handled = false;
    reading->text = line;
    // inih would take the rest of a long line for a line of its own.
    reading->too_long = line.size() >= size_t(size);
    if (reading->too_long) line = "\n";
    std::memcpy(buffer, line.c_str(), line.size() + 1);
    return buffer;
}

int take_value(void* user, const char* section, const char* key, const char* value) {
    auto* reading = static_cast<Reading*>(user);
    reading->handled = true;
    const Setting* setting = find_setting(section, key);
    if (!setting) {
        report(*reading, std::string("unknown key '") + key + "'" + (section[0] ? std::string(" in [") + section + "]" : ""));
    } else if (!setting->set(value)) {
        report(*reading, std::string("'") + key + "' cannot be '" + value + "' (it takes " + setting->values + ")");
    }
    return 1;  // go on with the next line whatever this one was
}

}  // namespace

std::string default_settings_path() { return kuzari_config_dir() + "/kuzari.ini"; }

void read_settings_file(const std::string& path, bool named_by_player) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        if (named_by_player || errno != ENOENT)
            std::fprintf(stderr, "kuzari: cannot read %s: %s; playing with the defaults\n", path.c_str(),
                         std::strerror(errno));
        return;
    }
    Reading reading{&path, file, 0, "", false, false};
    ini_parse_stream(read_line, &reading, take_value, &reading);
    check_line_done(reading);
    std::fclose(file);
}

bool write_settings_file(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        std::fprintf(stderr, "kuzari: %s is there already; remove it first to write a fresh one\n", path.c_str());
        return false;
    }
    // The folders on the way, as `mkdir -p` would.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    std::string text =
        "# Kuzari's settings. Every key is at its default; the command line wins\n"
        "# over this file (kuzari --help lists the options). A bad line is reported\n"
        "# when the game starts and left out.\n";
    std::string section;
    for (const Setting* setting = settings_begin(); setting != settings_end(); ++setting) {
        if (setting->section != section) {
            section = setting->section;
            text += "\n[" + section + "]\n# The game's keys, each any number of keys of the keyboard. Escape, F11,\n"
                    "# F12 and M belong to the window and cannot be taken.\n";
        }
        text += std::string("\n# ") + setting->about + " (" + setting->values + ")\n" + setting->key + " = " +
                setting->text() + "\n";
    }
    // Whole or not at all: a half-written file would stand in the way of the next try.
    std::string error;
    if (!write_whole_file(path, text.data(), text.size(), &error)) {
        std::fprintf(stderr, "kuzari: cannot write %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::fprintf(stderr, "kuzari: wrote %s\n", path.c_str());
    return true;
}
