#include "sim/doubles/import_patch.h"

#include <cstdint>
#include <string>

namespace sim {

namespace {

template <typename T> T* At(HMODULE module, std::uintptr_t rva) {
    return reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(module) + rva);
}

// Calls visit(dll name, function name or null for an ordinal, ordinal, address slot) for every
// import of the mapped module, until visit returns false.
template <typename Visit> void ForEachImport(HMODULE module, Visit visit) {
    if (module == nullptr) {
        return;
    }
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = At<IMAGE_NT_HEADERS64>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    for (auto* import = At<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         import->Name != 0; ++import) {
        const char* dll = At<char>(module, import->Name);
        auto* names = At<IMAGE_THUNK_DATA64>(module, import->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA64>(module, import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            const char* function = nullptr;
            if (!IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) {
                function = reinterpret_cast<const char*>(
                    At<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData)->Name);
            }
            if (!visit(dll, function, IMAGE_ORDINAL64(names->u1.Ordinal), slots)) {
                return;
            }
        }
    }
}

} // namespace

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    void* previous = nullptr;
    ForEachImport(module, [&](const char* fromDll, const char* name, ULONGLONG,
                              IMAGE_THUNK_DATA64* slot) {
        if (name == nullptr || lstrcmpiA(fromDll, dll) != 0 || lstrcmpA(name, function) != 0) {
            return true;
        }
        DWORD protection = 0;
        if (VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection)) {
            previous = reinterpret_cast<void*>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONGLONG>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
        return false;
    });
    return previous;
}

std::vector<ImportedDll> ListImports(HMODULE module) {
    std::vector<ImportedDll> dlls;
    ForEachImport(module,
                  [&](const char* dll, const char* name, ULONGLONG ordinal, IMAGE_THUNK_DATA64*) {
                      if (dlls.empty() || dlls.back().name != dll) {
                          dlls.push_back({dll, {}});
                      }
                      std::string entry = "#";
                      if (name != nullptr) {
                          entry = name;
                      } else {
                          entry += std::to_string(ordinal);
                      }
                      dlls.back().functions.push_back(entry);
                      return true;
                  });
    return dlls;
}

} // namespace sim
