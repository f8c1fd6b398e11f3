#include "tests/harness/program_copy.h"

namespace fs = std::filesystem;

ProgramCopy::ProgramCopy(bool withData) {
    exe = folder.path() / "glimmerdeep";
    data = folder.path() / "data";
    fs::copy_file(GLIMMERDEEP_EXE, exe);
    if (withData) fs::copy(GLIMMERDEEP_DATA_DIR, data, fs::copy_options::recursive);
}
