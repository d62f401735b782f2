#include "hosts/shared/data_folder.h"

#include <sys/stat.h>

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

bool holds_game_data(const std::string& folder) {
    struct stat info;
    return stat((folder + "/bitmap/title.bmp").c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
