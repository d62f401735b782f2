#include "support/replay_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/scratch_dir.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

// With KUZARI_KEEP_SCRIPTS naming a folder, each script played on the
// committed data is kept there (NAME.script, and its options in NAME.args),
// so that a cross build's runs can be replayed on another machine and their
// traces compared. Runs that name files of their own are left out.
void keep_script(const ReplayOptions& options) {
    const char* folder = std::getenv("KUZARI_KEEP_SCRIPTS");
    if (!folder || !*folder || !options.data_dir.empty()) return;
    std::string arguments = "--seed " + std::to_string(options.seed);
    if (options.frames >= 0) arguments += " --frames " + std::to_string(options.frames);
    for (const std::string& arg : options.extra_args) {
        if (arg.find_first_of("/ '\"") != std::string::npos) return;
        arguments += " " + arg;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>{}(arguments + "\n" + options.script));
    const std::filesystem::path base = std::filesystem::path(folder) / name;
    std::ofstream(base.string() + ".script", std::ios::binary) << options.script;
    std::ofstream(base.string() + ".args") << arguments << "\n";
}

}  // namespace

ReplayResult run_replay(const ReplayOptions& options) {
    keep_script(options);
    const ScratchDir scratch;
    const std::string script_path = scratch.path + "/run.script";
    const std::string trace_path = scratch.path + "/run.trace";
    const std::string error_path = scratch.path + "/run.err";
    std::ofstream(script_path) << options.script;

    std::string command = std::string(KUZARI_REPLAY) + " --seed " + std::to_string(options.seed);
    if (options.frames >= 0) command += " --frames " + std::to_string(options.frames);
    command += " --trace " + quoted(trace_path);
    command += " --data " + quoted(options.data_dir.empty() ? KUZARI_DATA_DIR : options.data_dir);
    for (const std::string& arg : options.extra_args) command += " " + quoted(arg);
    command += " " + quoted(script_path) + " 2>" + quoted(error_path);

    ReplayResult result;
    const int status = std::system(command.c_str());
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.error_output = read_file(error_path);
    std::istringstream lines(read_file(trace_path));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        if (options.parse) result.frames.push_back(nlohmann::json::parse(line));
        else result.lines.push_back(line);
    }
    return result;
}

std::vector<long long> frames_with_event(const ReplayResult& result, const nlohmann::json& event) {
    std::vector<long long> found;
    for (const nlohmann::json& frame : result.frames)
        for (const nlohmann::json& e : frame["events"])
            if (e == event) {
                found.push_back(frame["frame"].get<long long>());
                break;
            }
    return found;
}
