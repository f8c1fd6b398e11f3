// The real program in a folder of its own, for a test to start from outside:
// a copy of the build's executable, with a copy of its data folder beside it
// unless `withData` is false.
#pragma once

#include <filesystem>

#include "tests/harness/scratch.h"

struct ProgramCopy {
    explicit ProgramCopy(bool withData = true);
    ScratchFolder folder{"program"};
    std::filesystem::path exe;
    std::filesystem::path data;
};
