#include "hosts/shared/recording_claims.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "core/shown_text.h"
#include "hosts/shared/input_script.h"

namespace {

bool is_comment_or_blank(const std::string& line) {
    std::istringstream words(line);
    std::string first;
    return !(words >> first) || first[0] == '#';
}

bool parse_hash(const std::string& text, uint64_t* hash) {
    if (text.size() != 16) return false;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return false;
        value = value << 4 | uint64_t(digit);
    }
    *hash = value;
    return true;
}

// "# frame N fb HASH", nothing more on the line.
bool parse_closing(const std::string& line, RecordingClaims* claims) {
    std::istringstream words(line);
    std::string hash_sign, frame_word, frame, fb_word, picture, extra;
    if (!(words >> hash_sign >> frame_word >> frame >> fb_word >> picture) || words >> extra) return false;
    return hash_sign == "#" && frame_word == "frame" && fb_word == "fb" &&
           parse_decimal(frame, UINT64_MAX, &claims->frames) && parse_hash(picture, &claims->picture_hash);
}

bool names(const std::string& line, const char* name) {
    std::istringstream words(line);
    std::string hash_sign, word;
    return words >> hash_sign >> word && hash_sign == "#" && word == name;
}

}  // namespace

bool read_recording_claims(const std::string& text, RecordingClaims* claims, std::string* reason) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }

    // The header: the seed on the first line, the edition among the comments
    // that open the file, as the hosts read them when they play it.
    const std::string first = lines.empty() ? "" : lines[0];
    if (!script_seed(text, &claims->seed)) {
        *reason = names(first, "seed") ? "bad header: the seed '" + shown_text(first) + "' is not a number"
                                       : "bad header: the first line names no seed";
        return false;
    }
    const std::string language = script_language(text);
    if (language.empty()) {
        *reason = "bad header: no '# lang' line among the opening comments";
        return false;
    }
    if (language != "en" && language != "ja") {
        *reason = "bad header: the edition '" + shown_text(language) + "' is neither ja nor en";
        return false;
    }
    claims->english = language == "en";

    // The closing line: the last line that names a frame; only comments after it.
    size_t closing = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (names(lines[i], "frame")) closing = i;
    if (closing == lines.size()) {
        *reason = "no closing line ('# frame N fb HASH')";
        return false;
    }
    for (size_t i = closing + 1; i < lines.size(); ++i)
        if (!is_comment_or_blank(lines[i])) {
            *reason = "no closing line: line " + std::to_string(i + 1) + " is input after the last '# frame' line";
            return false;
        }
    if (!parse_closing(lines[closing], claims)) {
        *reason = "bad closing line " + std::to_string(closing + 1) + ": '" + shown_text(lines[closing]) + "'";
        return false;
    }
    return true;
}
