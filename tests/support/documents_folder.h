#pragma once
// A test double for this program's documents-folder lookup (its import of SHGetFolderPathW, which
// the log uses), so that a test chooses the folder the log goes to, or makes the lookup fail.
// One double at a time.
#include "tests/support/import_double.h"

#include <string>

namespace testing {

// What the last lookup asked for.
struct DocumentsRequest {
    int calls = 0;
    bool ownerNull = false;
    int folderId = 0;
    bool tokenNull = false;
    unsigned long flags = 0;
};

class DocumentsFolderDouble {
  public:
    // Every lookup answers folder (shorter than 260 bytes) with S_OK.
    explicit DocumentsFolderDouble(const std::string& folder);
    // Every lookup fails: it sets the thread's last error to lastError and returns result.
    DocumentsFolderDouble(long result, unsigned long lastError);

    bool Installed() const { return patch_.Installed(); }
    static const DocumentsRequest& Request();

  private:
    ImportDouble patch_;
};

} // namespace testing
