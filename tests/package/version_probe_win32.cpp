// Reads a DLL's version resource with the Windows version API and checks what players and mod
// managers see: file and product version VERSION, one string table for US English in UTF-16.
// Usage: version_probe <dll> <VERSION>, VERSION as four numbers a.b.c.d (project()'s version).
// Exit code 0 when everything matches.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) {
        ++g_failures;
    }
}

std::string StringValue(std::vector<char>& data, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "<missing>";
    }
    return std::string(value);
}

// The fixed file info packs a.b.c.d as two 32-bit halves, (a << 16 | b) and (c << 16 | d).
bool ParseVersion(const char* text, DWORD& high, DWORD& low) {
    unsigned parts[4] = {};
    char rest = 0;
    // Four numbers and nothing after them: a fifth field read means trailing text.
    const int fields =
        std::sscanf(text, "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &rest);
    if (fields != 4) {
        return false;
    }
    for (unsigned part : parts) {
        if (part > 0xFFFF) {
            return false;
        }
    }
    high = parts[0] << 16 | parts[1];
    low = parts[2] << 16 | parts[3];
    return true;
}

} // namespace

int main(int argc, char** argv) {
    DWORD high = 0;
    DWORD low = 0;
    if (argc != 3 || !ParseVersion(argv[2], high, low)) {
        std::fputs("usage: version_probe <dll> <a.b.c.d>\n", stderr);
        return 2;
    }
    const std::string version = argv[2];
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    Expect(size > 0, "the file has a version resource");
    if (size == 0) {
        return 1;
    }
    std::vector<char> data(size);
    GetFileVersionInfoA(argv[1], 0, size, data.data());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    Expect(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
               fixed != nullptr,
           "the fixed file info is there");
    if (fixed == nullptr) {
        return 1;
    }
    Expect(fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low,
           "file version is " + version);
    Expect(fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
           "product version is " + version);
    Expect(fixed->dwFileType == VFT_DLL, "the file type is DLL");

    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    Expect(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translations), &length) &&
               length == sizeof(Translation) && translations->language == 0x0409 &&
               translations->codePage == 1200,
           "one translation: language 0x0409, code page 1200");
    Expect(StringValue(data, "FileVersion") == version,
           "the string table's FileVersion is " + version);
    Expect(StringValue(data, "ProductVersion") == version,
           "the string table's ProductVersion is " + version);
    Expect(StringValue(data, "OriginalFilename") == "Helmshroud.dll",
           "the string table names Helmshroud.dll");
    return g_failures == 0 ? 0 : 1;
}
