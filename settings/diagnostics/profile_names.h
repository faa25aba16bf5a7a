#pragma once
// The names the profile functions list: the key names of one section, the section names of a
// file. Each list is read into a buffer of a fixed size, so a file of any size costs the same.
#include <cstddef>
#include <string>
#include <vector>

namespace settings {

// Room for a few hundred names of the usual length; a longer list is cut.
inline constexpr std::size_t kKeyNamesBufferSize = 16 * 1024;
inline constexpr std::size_t kSectionNamesBufferSize = 4 * 1024;

struct NameList {
    std::vector<std::string> names; // in the file's order
    bool cut = false; // the buffer was full: the last name may be only the start of one, and more
                      // names may follow
};

// The key names of a section ("" for the lines above the first section line), as the profile
// functions list them. A key written without a name is listed as "".
NameList ProfileKeyNames(const char* path, const char* section);

// The file's section names, as the profile functions list them.
NameList ProfileSectionNames(const char* path);

// Reads the list a profile function left in a buffer of size bytes, returning `returned`
// characters: names ended by a zero each. A full buffer (returned of size - 2 or more) may end in
// the start of a name that went on past it: the list is then marked cut.
NameList SplitNameList(const char* buffer, std::size_t returned, std::size_t size);

} // namespace settings
