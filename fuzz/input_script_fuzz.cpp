// The input script reader on arbitrary text: a script it takes adds up to no
// more frames than fit, every frame of it lies in the run the player finds,
// and its runs written back as a recording read back the same, closing line
// and all.
#include <cstdlib>
#include <string>

#include "hosts/shared/recorder.h"
#include "hosts/shared/recording_claims.h"
#include "hosts/shared/script_player.h"

namespace {

void check_frame(const ScriptPlayer& player, uint64_t frame) {
    uint64_t index = 0, start = 0;
    const InputRun* run = script_run_at(player, frame, &index, &start);
    if (!run) std::abort();
    if (frame < start || frame - start >= run->count || &player.runs[index] != run) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    RecordingClaims claims;
    std::string reason;
    if (!read_recording_claims(text, &claims, &reason) &&
        (reason.empty() || reason.find('\x1b') != std::string::npos || reason.find('\0') != std::string::npos))
        std::abort();
    const ScriptHeader header = script_header(text);
    if (!header.seed_named && header.seed != 1) std::abort();
    for (const std::string& warning : header.warnings)
        if (warning.compare(0, 5, "line ") != 0 || warning.find('\x1b') != std::string::npos) std::abort();

    std::vector<InputRun> runs;
    std::string error;
    if (!parse_script(text, &runs, &error)) {
        if (error.find('\x1b') != std::string::npos || error.find('\0') != std::string::npos) std::abort();
        return 0;
    }
    const ScriptPlayer player = script_player(runs);
    uint64_t sum = 0;
    for (const InputRun& run : runs) {
        if (run.count == 0 || run.count > UINT64_MAX - sum) std::abort();
        sum += run.count;
    }
    if (player.frames != sum) std::abort();
    if (sum > 0) {
        check_frame(player, 1);
        check_frame(player, sum);
        check_frame(player, sum / 2 + 1);
        uint64_t index, start;
        if (sum < UINT64_MAX && script_run_at(player, sum + 1, &index, &start)) std::abort();
    }

    Recorder recorder;
    recorder.seed = header.seed;
    recorder.english = header.language == "en";
    recorder.runs = runs;
    recorder.frames = sum;
    recorder.last_picture_hash = sum * 0x9e3779b97f4a7c15ull;
    const std::string recording = recording_text(recorder);
    if (!read_recording_claims(recording, &claims, &reason) || claims.frames != sum ||
        claims.picture_hash != recorder.last_picture_hash || claims.seed != header.seed ||
        claims.english != recorder.english)
        std::abort();
    std::vector<InputRun> again;
    if (!parse_script(recording, &again, &error) || again.size() != runs.size()) std::abort();
    for (size_t i = 0; i < runs.size(); ++i)
        if (again[i].count != runs[i].count || !same_input(again[i], runs[i])) std::abort();
    const ScriptHeader written = script_header(recording);
    if (!written.seed_named || written.seed != header.seed || !written.warnings.empty()) std::abort();
    if (written.language != (recorder.english ? "en" : "ja")) std::abort();
    return 0;
}
