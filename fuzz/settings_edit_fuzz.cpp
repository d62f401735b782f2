// The settings file's line-keeping editor on arbitrary text and edits: every
// edit it takes reads back as its value, a second pass changes nothing, and
// no edit at all leaves the text as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/desktop/settings_edit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<SettingsEdit> edits;
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        SettingsEdit edit;
        // Often one of the game's own sections, so that lines are found.
        const int section = input.ConsumeIntegralInRange(0, 3);
        edit.section = section == 0 ? "" : section == 1 ? "keys" : section == 2 ? "pad" : input.ConsumeRandomLengthString(8);
        edit.key = input.ConsumeRandomLengthString(8);
        edit.value = input.ConsumeRandomLengthString(16);
        edits.push_back(edit);
    }
    const std::string original = input.ConsumeRemainingBytesAsString();

    std::string text = original;
    if (!edit_settings_text(&text, {}) || text != original) std::abort();
    if (!edit_settings_text(&text, edits)) {
        if (text != original) std::abort();
        return 0;
    }
    for (size_t i = 0; i < edits.size(); ++i) {
        bool later = false;  // a later edit of the same key wins
        for (size_t j = i + 1; j < edits.size(); ++j)
            later |= edits[j].section == edits[i].section && edits[j].key == edits[i].key;
        std::string value;
        if (!later && (!settings_text_value(text, edits[i].section, edits[i].key, &value) || value != edits[i].value))
            std::abort();
    }
    std::string again = text;
    if (!edit_settings_text(&again, edits) || again != text) std::abort();
    return 0;
}
