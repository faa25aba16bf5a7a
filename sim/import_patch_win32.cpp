#include "sim/import_patch.h"

#include <cstdint>

namespace sim {

namespace {

template <typename T> T* At(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(module) + rva);
}

} // namespace

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    if (module == nullptr) {
        return nullptr;
    }
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = At<IMAGE_NT_HEADERS64>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return nullptr;
    }
    for (auto* import = At<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (lstrcmpiA(At<char>(module, import->Name), dll) != 0) {
            continue;
        }
        auto* names = At<IMAGE_THUNK_DATA64>(module, import->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA64>(module, import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) {
                continue;
            }
            auto* byName =
                At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0) {
                continue;
            }
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &protection)) {
                return nullptr;
            }
            slots->u1.Function = reinterpret_cast<ULONGLONG>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

} // namespace sim
