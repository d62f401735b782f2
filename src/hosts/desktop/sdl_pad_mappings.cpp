#include "hosts/desktop/sdl_pad_mappings.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t guid_length = 32;
// In SDL's GUID the name's checksum is bytes 2-3 and the version bytes 12-13;
// the database's lines may leave either out, and SDL matches them then.
constexpr size_t checksum_at = 4, version_at = 24, field_length = 4;

bool is_hex(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

// The value of a line's "platform:" field; empty when it has none.
std::string lower_case(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The value of a line's "platform:" field, in lower case; empty when it has none.
std::string platform_of(const std::string& line) {
    const std::string field = "platform:";
    const size_t at = line.find(field);
    if (at == std::string::npos) return "";
    const size_t start = at + field.size(), comma = line.find(',', start);
    return comma == std::string::npos ? "" : lower_case(line.substr(start, comma - start));
}

}  // namespace

std::string pad_mapping_key(const std::string& guid) {
    std::string key = lower_case(guid);
    if (key.size() == guid_length) {
        key.replace(checksum_at, field_length, field_length, '0');
        key.replace(version_at, field_length, field_length, '0');
    }
    return key;
}

PadMappings index_pad_mappings(const std::string& text, const std::string& platform) {
    PadMappings mappings;
    const std::string ours = lower_case(platform);
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t comma = line.find(',');
        if (line.empty() || line[0] == '#' || comma == std::string::npos) continue;
        const std::string guid = line.substr(0, comma);
        if (!is_hex(guid) || platform_of(line) != ours) continue;
        mappings[pad_mapping_key(guid)].push_back(PadMappingLine{number, line});
    }
    return mappings;
}
