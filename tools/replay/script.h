// The input script of kuzari-replay: one line per run of frames, `COUNT [KEY ...]`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

// A decimal number of at most `max`, digits only; false for anything else.
bool parse_decimal(const std::string& text, uint64_t max, uint64_t* value);

// Parses a whole script. On a bad line returns false with `error` naming the
// line number and what is wrong.
bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error);
