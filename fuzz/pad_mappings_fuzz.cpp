// The player's pad mappings file on arbitrary text: every line indexed is for
// our platform, under the key of its own GUID, with the number of its line.
#include <cstdlib>
#include <string>

#include "hosts/desktop/sdl_pad_mappings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const PadMappings mappings = index_pad_mappings(text, "Linux");
    for (const auto& [key, lines] : mappings) {
        for (const PadMappingLine& line : lines) {
            if (line.number < 1 || line.text.empty() || line.text.find('\n') != std::string::npos) std::abort();
            if (pad_mapping_key(line.text.substr(0, line.text.find(','))) != key) std::abort();
            if (text.find(line.text) == std::string::npos) std::abort();
        }
    }
    return 0;
}
