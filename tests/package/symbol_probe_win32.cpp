// Reads a DLL and the PDB beside it through dbghelp, as the field's debuggers and crash loggers
// do: the PDB must be the one the DLL's CodeView record names ("Helmshroud.pdb", no folder), and
// give the plugin's functions with the line each starts at, checked against the repository's own
// source text. Usage: symbol_probe <dll> <repository folder>. Exit code 0 when everything matches.
#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

int g_failures = 0;

void Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    g_failures += ok ? 0 : 1;
}

std::string SourceLine(const std::string& path, DWORD number) {
    std::ifstream in(path);
    std::string line;
    for (DWORD i = 0; i < number && std::getline(in, line); ++i) {
    }
    return line;
}

void ExpectFunction(HANDLE process, const std::string& repository, const std::string& function,
                    const std::string& sourceFile) {
    alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + MAX_SYM_NAME];
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = MAX_SYM_NAME;
    IMAGEHLP_LINE64 line{};
    line.SizeOfStruct = sizeof line;
    DWORD displacement = 0;
    bool found = SymFromName(process, ("Helmshroud!" + function).c_str(), symbol) &&
                 SymGetLineFromAddr64(process, symbol->Address, &displacement, &line);
    std::string file = found ? line.FileName : "<none>";
    // Wine's dbghelp puts its working folder before the PDB's relative name; Windows' does not.
    bool sameFile = file == sourceFile ||
                    (file.size() > sourceFile.size() &&
                     file.substr(file.size() - sourceFile.size() - 1) == "\\" + sourceFile);
    Expect(sameFile, function + " is in " + sourceFile + " (dbghelp: " + file + ")");
    std::string text = found ? SourceLine(repository + "\\" + sourceFile, line.LineNumber) : "";
    Expect(text.find(function + "(") != std::string::npos,
           function + " starts at line " + std::to_string(found ? line.LineNumber : 0) + ": " +
               text);
}

// The PDB name in the DLL's CodeView debug record ("RSDS", GUID, age, name), read from the DLL
// mapped as an image without running any of it.
std::string CodeViewPdbName(const std::string& dll) {
    HMODULE image = LoadLibraryExA(dll.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ULONG size = 0;
    auto* entry = static_cast<const IMAGE_DEBUG_DIRECTORY*>(
        image == nullptr
            ? nullptr
            : ImageDirectoryEntryToData(image, TRUE, IMAGE_DIRECTORY_ENTRY_DEBUG, &size));
    std::string name = "<none>";
    for (ULONG i = 0; entry != nullptr && i < size / sizeof *entry; ++i, ++entry) {
        const char* record = reinterpret_cast<const char*>(image) + entry->AddressOfRawData;
        if (entry->Type == IMAGE_DEBUG_TYPE_CODEVIEW && std::string(record, 4) == "RSDS") {
            name = record + 24;
        }
    }
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: symbol_probe <dll> <repository folder>\n", stderr);
        return 2;
    }
    std::string dll = argv[1];
    HANDLE process = GetCurrentProcess();
    SymSetOptions(SYMOPT_UNDNAME | SYMOPT_LOAD_LINES | SYMOPT_FAIL_CRITICAL_ERRORS);
    std::string folder = dll.substr(0, dll.find_last_of("\\/"));
    DWORD64 base = SymInitialize(process, folder.c_str(), FALSE)
                       ? SymLoadModuleEx(process, nullptr, dll.c_str(), nullptr, 0, 0, nullptr, 0)
                       : 0;
    IMAGEHLP_MODULE64 module{};
    module.SizeOfStruct = sizeof module;
    Expect(base != 0 && SymGetModuleInfo64(process, base, &module) && module.SymType == SymPdb,
           "dbghelp loads the DLL's symbols from its PDB");
    Expect(CodeViewPdbName(dll) == "Helmshroud.pdb",
           "the CodeView record names the PDB without a folder: " + CodeViewPdbName(dll));
    ExpectFunction(process, argv[2], "Install_Helmshroud", "settings\\routine\\Install.cpp");
    ExpectFunction(process, argv[2], "InstallWorker", "plugin\\install_worker_win32.cpp");
    ExpectFunction(process, argv[2], "LogLine", "korv_common\\Log.cpp");
    SymCleanup(process);
    return g_failures == 0 ? 0 : 1;
}
