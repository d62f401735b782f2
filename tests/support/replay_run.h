// Runs kuzari-replay as a separate process (so every run starts the game
// fresh) and reads its trace back.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

struct ReplayResult {
    int exit_status = -1;
    std::string error_output;
    std::vector<nlohmann::json> frames;  // one per trace line
    std::vector<std::string> lines;      // instead, the lines as written, when not parsed
};

struct ReplayOptions {
    std::string script;            // the script's text
    long long frames = -1;         // --frames, or none
    unsigned seed = 1;
    std::string data_dir;          // --data; empty: the committed data
    std::vector<std::string> extra_args;
    bool parse = true;             // false: only `lines` (long runs, where parsing costs much)
};

ReplayResult run_replay(const ReplayOptions& options);

// Frames whose events include one equal to `event`, e.g. ["se", 3].
std::vector<long long> frames_with_event(const ReplayResult& result, const nlohmann::json& event);
