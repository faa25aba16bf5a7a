// Reads a DLL's version resource with the Windows version API and checks what players and mod
// managers see: file and product version 1.1.0.0, one string table for US English in UTF-16.
// Usage: version_probe <dll>. Exit code 0 when everything matches.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void Expect(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: version_probe <dll>\n", stderr);
        return 2;
    }
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
    Expect(fixed->dwFileVersionMS == 0x00010001 && fixed->dwFileVersionLS == 0x00000000,
           "file version is 1.1.0.0");
    Expect(fixed->dwProductVersionMS == 0x00010001 && fixed->dwProductVersionLS == 0x00000000,
           "product version is 1.1.0.0");
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
    Expect(StringValue(data, "FileVersion") == "1.1.0.0",
           "the string table's FileVersion is 1.1.0.0");
    Expect(StringValue(data, "ProductVersion") == "1.1.0.0",
           "the string table's ProductVersion is 1.1.0.0");
    Expect(StringValue(data, "OriginalFilename") == "Helmshroud.dll",
           "the string table names Helmshroud.dll");
    return g_failures == 0 ? 0 : 1;
}
