#include "sim/doubles/recorded_patch.h"

#include "sim/doubles/import_patch.h"
#include "sim/record/transcript.h"

namespace sim {

void* PatchPluginImport(HMODULE module, const char* dll, const char* function, void* replacement,
                        const std::string& what) {
    void* previous = PatchImport(module, dll, function, replacement);
    if (previous == nullptr) {
        RecordError(std::string("the plugin does not import ") + function + " from " + dll);
        return nullptr;
    }
    Record(Kind::Patch, std::string(function) + " from " + dll + ": " + what);
    return previous;
}

} // namespace sim
