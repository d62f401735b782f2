// A folder of the test's own under $TMPDIR (else /tmp), removed with all it
// holds when the test is done with it.
#pragma once

#include <string>

struct ScratchDir {
    std::string path;

    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};
