#pragma once
// One DLL of a module's import list and the functions taken from it.
#include <string>
#include <vector>

namespace sim {

struct ImportedDll {
    std::string name;
    std::vector<std::string> functions; // by name; an import by ordinal reads "#<ordinal>"
};

} // namespace sim
