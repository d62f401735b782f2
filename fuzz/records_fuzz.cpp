// The records reader on arbitrary text: what it takes agrees with itself and
// is written back to the same records; what it refuses is named safely.
#include <cstdlib>
#include <string>

#include "hosts/shared/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Records records;
    std::string error;
    if (!parse_records(text, &records, &error)) {
        if (error.empty() || error.find('\x1b') != std::string::npos || error.find('\0') != std::string::npos)
            std::abort();
        return 0;
    }
    for (const EditionRecords* mine : {&records.japanese, &records.english}) {
        if (mine->perfect > mine->rounds || mine->best_rank < no_rank || mine->best_rank > 3) std::abort();
        if (mine->most_food < 0 || mine->most_food > 4000) std::abort();
    }
    Records again;
    if (!parse_records(records_text(records), &again, &error) || records_text(again) != records_text(records))
        std::abort();
    // A round more still reads back.
    add_round(&again, true, true, 3, 4000);
    if (!parse_records(records_text(again), &records, &error)) std::abort();
    return 0;
}
