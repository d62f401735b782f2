// Lines are read as libinih reads them (its defaults: '=' or ':' between key
// and value, ';' and '#' comments, ' ;' ending a value, an indented line
// continuing the key before it; a line too long for it, or holding a NUL, is
// left out), so that the line changed is the one the game will read back.
#include "hosts/desktop/settings_edit.h"

#include <ini.h>

#include <cstring>

namespace {

enum LineKind { line_other, line_section, line_key, line_continued };

struct Line {
    size_t begin, end;  // the line in the text, its terminator included
    LineKind kind;
    std::string name;               // the section's or the key's
    std::string section;            // the section the line is in
    size_t value_begin, value_end;  // a key's value, within the text
};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The first of `chars` from `at`, or the start of an inline comment (';' after
// whitespace), or `end`.
size_t find_or_comment(const std::string& text, size_t at, size_t end, const char* chars) {
    bool was_space = false;
    for (; at < end; ++at) {
        const char c = text[at];
        if (chars && std::strchr(chars, c)) return at;
        if (was_space && c == ';') return at;
        was_space = is_space(c);
    }
    return end;
}

size_t skip_space(const std::string& text, size_t at, size_t end) {
    while (at < end && is_space(text[at])) ++at;
    return at;
}

size_t trim_end(const std::string& text, size_t begin, size_t end) {
    while (end > begin && is_space(text[end - 1])) --end;
    return end;
}

std::vector<Line> read_lines(const std::string& text) {
    std::vector<Line> lines;
    std::string section;
    bool after_key = false;  // an indented line now continues a key
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        Line line{begin, end, line_other, "", section, 0, 0};
        size_t start = begin;
        if (begin == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
        const size_t content_end = trim_end(text, start, end);
        const size_t first = skip_space(text, start, content_end);
        // The game's reader takes a line too long for libinih, or holding a
        // NUL, for a blank one (and says so); so does this.
        const bool unread = end - begin >= size_t(INI_MAX_LINE) || std::memchr(text.data() + begin, '\0', end - begin);
        if (unread || first == content_end || text[first] == ';' || text[first] == '#') {
            // blank or a comment
        } else if (after_key && first > start) {
            line.kind = line_continued;
        } else if (text[first] == '[') {
            const size_t close = find_or_comment(text, first + 1, content_end, "]");
            if (close < content_end && text[close] == ']') {
                section = text.substr(first + 1, close - first - 1);
                line.kind = line_section;
                line.name = line.section = section;
                after_key = false;
            }
        } else {
            const size_t delimiter = find_or_comment(text, first, content_end, "=:");
            if (delimiter < content_end && (text[delimiter] == '=' || text[delimiter] == ':')) {
                line.kind = line_key;
                line.name = text.substr(first, trim_end(text, first, delimiter) - first);
                // The comment is looked for from the delimiter on: "key = ;x" has none.
                const size_t comment = find_or_comment(text, delimiter + 1, content_end, nullptr);
                line.value_begin = skip_space(text, delimiter + 1, comment);
                line.value_end = trim_end(text, line.value_begin, comment);
                // libinih continues only a key with a name.
                after_key = !line.name.empty();
            }
        }
        lines.push_back(line);
        begin = end;
    }
    return lines;
}

bool has_any(const std::string& text, const char* chars, size_t count) {
    return text.find_first_of(std::string(chars, count)) != std::string::npos;
}

// Whether the text reads back as itself where a value or name stands.
bool reads_back(const std::string& text) {
    if (text.empty()) return true;
    if (is_space(text.front()) || is_space(text.back())) return false;
    for (size_t at = 1; at < text.size(); ++at)
        if (text[at] == ';' && is_space(text[at - 1])) return false;
    return true;
}

bool writable(const SettingsEdit& edit) {
    const char breaks[] = "\n\r\0";
    if (has_any(edit.section, breaks, 3) || has_any(edit.key, breaks, 3) || has_any(edit.value, breaks, 3))
        return false;
    if (edit.key.empty() || has_any(edit.key, "=:[]", 4) || edit.key[0] == ';' || edit.key[0] == '#' ||
        edit.key.compare(0, 3, "\xEF\xBB\xBF") == 0)  // a byte-order mark would be skipped at the start
        return false;
    if (edit.section.find(']') != std::string::npos) return false;
    // Written after "= ", a value starting with ';' would be a comment.
    if (!edit.value.empty() && edit.value[0] == ';') return false;
    return reads_back(edit.key) && reads_back(edit.value) && reads_back(edit.section);
}

std::string line_break_of(const std::string& text) {
    const size_t first = text.find('\n');
    return first != std::string::npos && first > 0 && text[first - 1] == '\r' ? "\r\n" : "\n";
}

// Whether a key line put at `at` would take the indented line after it for
// its own continuation (only where a block has no key yet).
bool would_capture(const std::string& text, const std::vector<Line>& lines, size_t at) {
    for (const Line& line : lines) {
        if (line.begin < at) continue;
        const size_t content_end = trim_end(text, line.begin, line.end);
        const size_t first = skip_space(text, line.begin, content_end);
        if (first == content_end || text[first] == ';' || text[first] == '#') continue;
        return first > line.begin;
    }
    return false;
}

bool apply_edit(std::string* text, const SettingsEdit& edit) {
    const std::vector<Line> lines = read_lines(*text);
    const std::string line_break = line_break_of(*text);
    // Rewritten from the last line back, so that the earlier offsets hold.
    bool found = false;
    for (size_t i = lines.size(); i-- > 0;) {
        const Line& line = lines[i];
        if (line.kind != line_key || line.section != edit.section || line.name != edit.key) continue;
        found = true;
        // Its continuation lines were part of the old value.
        size_t erase_end = line.end;
        for (size_t next = i + 1; next < lines.size() && lines[next].kind == line_continued; ++next)
            erase_end = lines[next].end;
        std::string tail = text->substr(line.value_end, line.end - line.value_end);
        // With no value left a comment would be read as the value.
        if (edit.value.empty() && tail.find(';') != std::string::npos) {
            const size_t cr = tail.size() >= 2 && tail.compare(tail.size() - 2, 2, "\r\n") == 0;
            tail = tail.back() == '\n' ? tail.substr(tail.size() - 1 - cr) : "";
        }
        // A comment right after the old value would run into the new one.
        if (!edit.value.empty() && !tail.empty() && tail[0] == ';') tail.insert(0, " ");
        if (erase_end > line.end && tail.find('\n') == std::string::npos) tail += line_break;
        text->replace(line.value_begin, erase_end - line.value_begin, edit.value + tail);
    }
    if (found) return true;

    const std::string new_line = edit.key + " = " + edit.value + line_break;
    // After the last key (and its continuation) of the section's last block;
    // in a block of no keys, after its header, or for the keys before any
    // section after the opening comments.
    size_t insert_at = std::string::npos, after_comments = 0;
    bool section_seen = edit.section.empty();
    if (text->compare(0, 3, "\xEF\xBB\xBF") == 0) after_comments = 3;
    for (const Line& line : lines) {
        if (line.section != edit.section) continue;
        if (line.kind == line_section) {
            section_seen = true;
            insert_at = line.end;
        } else if (line.kind == line_key || line.kind == line_continued) {
            insert_at = line.end;
        } else if (edit.section.empty() && trim_end(*text, line.begin, line.end) > line.begin) {
            after_comments = line.end;
        }
    }
    if (section_seen && insert_at == std::string::npos) insert_at = after_comments;
    if (!section_seen) {
        if (!text->empty() && text->back() != '\n') *text += line_break;
        if (!text->empty()) *text += line_break;
        *text += "[" + edit.section + "]" + line_break + new_line;
        return true;
    }
    if (would_capture(*text, lines, insert_at)) return false;
    if (insert_at > 0 && (*text)[insert_at - 1] != '\n') {
        text->insert(insert_at, line_break);
        insert_at += line_break.size();
    }
    text->insert(insert_at, new_line);
    return true;
}

}  // namespace

bool edit_settings_text(std::string* text, const std::vector<SettingsEdit>& edits) {
    for (const SettingsEdit& edit : edits)
        if (!writable(edit)) return false;
    std::string edited = *text;
    for (const SettingsEdit& edit : edits)
        if (!apply_edit(&edited, edit)) return false;
    // A file may hold what makes a written line read otherwise (an indented
    // line after it continues it): such a change is refused, not half made.
    for (size_t i = 0; i < edits.size(); ++i) {
        bool later = false;  // a later change of the same key is the one that counts
        for (size_t j = i + 1; j < edits.size(); ++j)
            later |= edits[j].section == edits[i].section && edits[j].key == edits[i].key;
        std::string value;
        if (!later && (!settings_text_value(edited, edits[i].section, edits[i].key, &value) || value != edits[i].value))
            return false;
    }
    *text = edited;
    return true;
}

bool settings_text_value(const std::string& text, const std::string& section, const std::string& key,
                         std::string* value) {
    bool found = false, ours = false;  // ours: the last key line was this key
    for (const Line& line : read_lines(text)) {
        if (line.kind == line_section) ours = false;
        if (line.kind == line_key) ours = line.section == section && line.name == key;
        if (line.kind == line_key && ours) {
            *value = text.substr(line.value_begin, line.value_end - line.value_begin);
            found = true;
        } else if (line.kind == line_continued && ours) {
            const size_t first = skip_space(text, line.begin, line.end);
            const size_t end = trim_end(text, first, find_or_comment(text, first, line.end, nullptr));
            *value = text.substr(first, end - first);
        }
    }
    return found;
}
