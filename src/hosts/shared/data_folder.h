// Which folder holds the game's data: the first of the places a host knows
// of, in its order, where the data is.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct DataFolderChoice {
    bool found = false;
    std::string folder;              // the one found; else the first tried
    std::vector<std::string> tried;  // every candidate looked at, in order
};

// Empty candidates (a place nobody named) are passed over.
DataFolderChoice choose_data_folder(const std::vector<std::string>& candidates,
                                    const std::function<bool(const std::string& folder)>& holds_data);

// The title's picture is there: a folder of the game's data, not some other.
bool holds_game_data(const std::string& folder);
// Why `folder` is not a folder of the game's data; empty when it is one.
std::string why_no_game_data(const std::string& folder);
