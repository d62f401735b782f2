// A file's text as a message may show it on a terminal: control bytes (and
// UTF-8's C1 controls) as \xNN escapes and NUL as \0, so that nothing in a
// file can move the cursor, change colours or cut the message short.
#pragma once

#include <string>

std::string shown_text(const std::string& text);
