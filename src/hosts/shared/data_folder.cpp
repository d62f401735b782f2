#include "hosts/shared/data_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

DataFolderChoice choose_data_folder(const std::vector<std::string>& candidates,
                                    const std::function<bool(const std::string& folder)>& holds_data) {
    DataFolderChoice choice;
    for (const std::string& candidate : candidates) {
        if (candidate.empty()) continue;
        choice.tried.push_back(candidate);
        if (holds_data(candidate)) {
            choice.found = true;
            choice.folder = candidate;
            return choice;
        }
    }
    if (!choice.tried.empty()) choice.folder = choice.tried.front();
    return choice;
}

bool holds_game_data(const std::string& folder) { return why_no_game_data(folder).empty(); }

std::string why_no_game_data(const std::string& folder) {
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) return std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return "it is not a folder";
    if (stat((folder + "/bitmap/title.bmp").c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return "it holds none of the game's data (there is no bitmap/title.bmp)";
    return "";
}
