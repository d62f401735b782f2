// The player's own pad mappings (gamecontrollerdb.txt), indexed once by the
// pads they are for, so that a pad plugged in gets only its own lines: SDL's
// reading of a whole file takes time growing with the square of its size.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

struct PadMappingLine {
    int number;        // its line in the file
    std::string text;  // the mapping as SDL takes it
};

// The lines for this platform ("platform:Linux", as SDL reads a file), by
// the pad's GUID with the name's checksum and the version left out.
using PadMappings = std::unordered_map<std::string, std::vector<PadMappingLine>>;

PadMappings index_pad_mappings(const std::string& text, const std::string& platform);
// The index's key for a pad's GUID in SDL's hex form.
std::string pad_mapping_key(const std::string& guid);
