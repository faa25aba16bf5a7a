#pragma once
// The import list of a Windows executable file, read from the PE import directory of its bytes
// (not from a mapped image).
#include <string>
#include <vector>

namespace sim {

struct ImportedDll {
    std::string name;
    std::vector<std::string> functions; // by name; an import by ordinal reads "#<ordinal>"
};

struct PeImports {
    std::string error; // empty when the file was read
    std::vector<ImportedDll> dlls;
};

PeImports ReadPeImports(const std::vector<unsigned char>& file);

} // namespace sim
