// Reads a DLL and the PDB beside it as the field's debuggers and crash loggers do, and checks what
// they find: the DLL under 256 KiB with no DWARF left in it, a CodeView record naming
// "Helmshroud.pdb" without a folder, and through dbghelp the plugin's functions with the source
// line each starts at (checked against the repository's own source text).
// Usage: symbol_probe <dll> <repository folder>. Exit code 0 when everything matches.
#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
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

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename T> const T* At(const std::vector<char>& file, std::size_t offset) {
    return offset + sizeof(T) <= file.size() ? reinterpret_cast<const T*>(file.data() + offset)
                                             : nullptr;
}

// The section headers, or none when the file is not a 64-bit PE image.
std::vector<IMAGE_SECTION_HEADER> Sections(const std::vector<char>& file,
                                           const IMAGE_NT_HEADERS64*& nt) {
    const auto* dos = At<IMAGE_DOS_HEADER>(file, 0);
    nt = dos != nullptr ? At<IMAGE_NT_HEADERS64>(file, static_cast<std::size_t>(dos->e_lfanew))
                        : nullptr;
    if (nt == nullptr || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        return {};
    }
    std::size_t first = static_cast<std::size_t>(dos->e_lfanew) +
                        offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                        nt->FileHeader.SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const auto* section =
            At<IMAGE_SECTION_HEADER>(file, first + i * sizeof(IMAGE_SECTION_HEADER));
        if (section != nullptr) {
            sections.push_back(*section);
        }
    }
    return sections;
}

// The PDB name of the image's CodeView (RSDS) debug record, or "<none>".
std::string CodeViewPdbName(const std::vector<char>& file, const IMAGE_NT_HEADERS64& nt,
                            const std::vector<IMAGE_SECTION_HEADER>& sections) {
    const IMAGE_DATA_DIRECTORY& debug =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DEBUG];
    for (const IMAGE_SECTION_HEADER& section : sections) {
        if (debug.VirtualAddress < section.VirtualAddress ||
            debug.VirtualAddress >= section.VirtualAddress + section.SizeOfRawData) {
            continue;
        }
        std::size_t offset =
            debug.VirtualAddress - section.VirtualAddress + section.PointerToRawData;
        for (std::size_t i = 0; i < debug.Size / sizeof(IMAGE_DEBUG_DIRECTORY); ++i) {
            const auto* entry =
                At<IMAGE_DEBUG_DIRECTORY>(file, offset + i * sizeof(IMAGE_DEBUG_DIRECTORY));
            const char* record = entry != nullptr && entry->Type == IMAGE_DEBUG_TYPE_CODEVIEW &&
                                         entry->SizeOfData > 24 &&
                                         entry->PointerToRawData + entry->SizeOfData <= file.size()
                                     ? file.data() + entry->PointerToRawData
                                     : nullptr;
            if (record != nullptr && std::memcmp(record, "RSDS", 4) == 0) {
                return std::string(record + 24, strnlen(record + 24, entry->SizeOfData - 24));
            }
        }
    }
    return "<none>";
}

std::string SourceLine(const std::string& path, DWORD number) {
    std::ifstream in(path);
    std::string line;
    for (DWORD i = 0; i < number && std::getline(in, line); ++i) {
    }
    return line;
}

// dbghelp finds the function and the line it starts at; that line of the repository's source file
// is the function's definition.
void ExpectFunction(HANDLE process, const std::string& repository, const char* function,
                    const std::string& sourceFile) {
    alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + MAX_SYM_NAME];
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = MAX_SYM_NAME;
    std::string qualified = std::string("Helmshroud!") + function;
    bool found = SymFromName(process, qualified.c_str(), symbol) != FALSE;
    Expect(found, std::string("dbghelp finds ") + function);
    IMAGEHLP_LINE64 line{};
    line.SizeOfStruct = sizeof line;
    DWORD displacement = 0;
    bool hasLine = found && SymGetLineFromAddr64(process, symbol->Address, &displacement, &line);
    std::string file = hasLine ? line.FileName : "<none>";
    // Wine's dbghelp puts its working folder before the PDB's relative name; Windows' does not.
    bool sameFile = file == sourceFile || (file.size() > sourceFile.size() &&
                                           file.compare(file.size() - sourceFile.size() - 1,
                                                        std::string::npos, "\\" + sourceFile) == 0);
    Expect(sameFile, std::string(function) + " is in " + sourceFile + " (dbghelp: " + file + ")");
    std::string text = hasLine ? SourceLine(repository + "\\" + sourceFile, line.LineNumber) : "";
    Expect(text.find(std::string(function) + "(") != std::string::npos,
           std::string(function) + " starts at line " +
               std::to_string(hasLine ? line.LineNumber : 0) + ": " + text);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: symbol_probe <dll> <repository folder>\n", stderr);
        return 2;
    }
    std::string dll = argv[1];
    std::string repository = argv[2];
    std::vector<char> file = ReadAll(dll);
    Expect(!file.empty() && file.size() < 256 * 1024,
           "the DLL is under 256 KiB (" + std::to_string(file.size()) + " bytes)");

    const IMAGE_NT_HEADERS64* nt = nullptr;
    std::vector<IMAGE_SECTION_HEADER> sections = Sections(file, nt);
    Expect(!sections.empty(), "the DLL is a 64-bit PE image");
    if (sections.empty()) {
        return 1;
    }
    // DWARF sections have long names (".debug_info"), kept as "/N" into a COFF string table.
    std::string dwarf;
    for (const IMAGE_SECTION_HEADER& section : sections) {
        std::string name(
            reinterpret_cast<const char*>(section.Name),
            strnlen(reinterpret_cast<const char*>(section.Name), IMAGE_SIZEOF_SHORT_NAME));
        if (name.rfind(".debug", 0) == 0 || name.rfind("/", 0) == 0) {
            dwarf += " " + name;
        }
    }
    Expect(dwarf.empty() && nt->FileHeader.PointerToSymbolTable == 0,
           "no DWARF section and no symbol table in the DLL" + dwarf);
    Expect(CodeViewPdbName(file, *nt, sections) == "Helmshroud.pdb",
           "the CodeView record names Helmshroud.pdb without a folder");

    HANDLE process = GetCurrentProcess();
    SymSetOptions(SYMOPT_UNDNAME | SYMOPT_LOAD_LINES | SYMOPT_FAIL_CRITICAL_ERRORS |
                  SYMOPT_NO_PROMPTS);
    std::string folder = dll.substr(0, dll.find_last_of("\\/"));
    if (!SymInitialize(process, folder.c_str(), FALSE)) {
        Expect(false, "dbghelp starts");
        return 1;
    }
    DWORD64 base = SymLoadModuleEx(process, nullptr, dll.c_str(), nullptr, 0x10000000,
                                   static_cast<DWORD>(file.size()), nullptr, 0);
    IMAGEHLP_MODULE64 module{};
    module.SizeOfStruct = sizeof module;
    Expect(base != 0 && SymGetModuleInfo64(process, base, &module) && module.SymType == SymPdb,
           "dbghelp loads the DLL's symbols from its PDB");
    ExpectFunction(process, repository, "Install_Helmshroud", "settings\\Install.cpp");
    ExpectFunction(process, repository, "InstallWorker", "plugin\\install_worker_win32.cpp");
    ExpectFunction(process, repository, "LogLine", "korv_common\\Log.cpp");
    SymCleanup(process);
    return g_failures == 0 ? 0 : 1;
}
