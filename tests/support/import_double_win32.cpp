#include "tests/support/import_double.h"

#include "sim/doubles/import_patch.h"

#include <windows.h>

namespace testing {

ImportDouble::ImportDouble(const char* dll, const char* function, void* replacement)
    : dll_(dll), function_(function),
      original_(sim::PatchImport(GetModuleHandleA(nullptr), dll, function, replacement)) {}

ImportDouble::~ImportDouble() {
    if (original_ != nullptr) {
        sim::PatchImport(GetModuleHandleA(nullptr), dll_, function_, original_);
    }
}

} // namespace testing
