// The modules KERNEL32 knows: the running program and the files loaded as data.
#pragma once

#include "resources.h"

#include <string>
#include <vector>

namespace platform {

struct Module {
    std::string path;
    std::vector<BYTE> file; // empty for the running program, whose resources are in memory
    std::vector<Resource> resources;
};

// The module behind a handle (NULL is the program), or nullptr for a handle that is none.
Module *FindModule(HMODULE handle);

} // namespace platform
