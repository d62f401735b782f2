// The input script of kuzari-replay: one line per run of frames, `COUNT [KEY ...]`.
#pragma once

#include <string>
#include <vector>

#include "platform/headless/headless.h"

// Parses a whole script. On a bad line returns false with `error` naming the
// line number and what is wrong.
bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error);
