#include "sim/bench_pe_imports.h"

#include <cstdint>

namespace sim {

namespace {

// Offsets and sizes of the PE format.
constexpr std::size_t kNewHeaderOffsetAt = 0x3C;  // in the DOS header: where the PE header is
constexpr std::size_t kFileHeaderSize = 20;       // the COFF header after "PE\0\0"
constexpr std::uint16_t kMagicPe32 = 0x10B;       // optional header magic of 32-bit images
constexpr std::uint16_t kMagicPe32Plus = 0x20B;   // and of 64-bit images
constexpr std::size_t kDirectoriesPe32 = 96;      // data directories in the optional header
constexpr std::size_t kDirectoriesPe32Plus = 112; //
constexpr std::size_t kImportDirectory = 1;       // index among the data directories
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;

class Reader {
  public:
    explicit Reader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

    bool Fits(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint64_t Unsigned(std::size_t offset, std::size_t size) const {
        std::uint64_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = value << 8 | bytes_[offset + i];
        }
        return value;
    }
    std::uint32_t U32(std::size_t offset) const {
        return static_cast<std::uint32_t>(Unsigned(offset, 4));
    }
    std::uint16_t U16(std::size_t offset) const {
        return static_cast<std::uint16_t>(Unsigned(offset, 2));
    }
    // A zero-terminated text; false when no zero byte ends it inside the file.
    bool Text(std::size_t offset, std::string& text) const {
        text.clear();
        for (std::size_t i = offset; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0) {
                return true;
            }
            text += static_cast<char>(bytes_[i]);
        }
        return false;
    }

  private:
    const std::vector<unsigned char>& bytes_;
};

struct Section {
    std::uint32_t address;
    std::uint32_t span;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

class Image {
  public:
    explicit Image(const std::vector<unsigned char>& bytes) : read_(bytes) {}

    // Reads the headers; the error, or the empty text.
    std::string Open() {
        if (!read_.Fits(0, kNewHeaderOffsetAt + 4) || read_.U16(0) != 0x5A4D) {
            return "no DOS header";
        }
        std::size_t pe = read_.U32(kNewHeaderOffsetAt);
        if (!read_.Fits(pe, 4 + kFileHeaderSize) || read_.U32(pe) != 0x00004550) {
            return "no PE header";
        }
        std::size_t file = pe + 4;
        std::size_t sections = read_.U16(file + 2);
        std::size_t optional = file + kFileHeaderSize;
        std::size_t optionalSize = read_.U16(file + 16);
        if (!read_.Fits(optional, optionalSize) || optionalSize < 2) {
            return "truncated optional header";
        }
        std::uint16_t magic = read_.U16(optional);
        if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
            return "unknown optional header magic";
        }
        wide_ = magic == kMagicPe32Plus;
        std::size_t directories = optional + (wide_ ? kDirectoriesPe32Plus : kDirectoriesPe32);
        std::size_t directoryCount = read_.U32(directories - 4);
        std::size_t import = directories + kImportDirectory * 8;
        if (directoryCount > kImportDirectory && import + 8 <= optional + optionalSize) {
            importAddress_ = read_.U32(import);
        }
        std::size_t table = optional + optionalSize;
        if (!read_.Fits(table, sections * kSectionHeaderSize)) {
            return "truncated section table";
        }
        for (std::size_t i = 0; i < sections; ++i) {
            std::size_t at = table + i * kSectionHeaderSize;
            std::uint32_t virtualSize = read_.U32(at + 8);
            std::uint32_t rawSize = read_.U32(at + 16);
            sections_.push_back({read_.U32(at + 12), virtualSize > rawSize ? virtualSize : rawSize,
                                 read_.U32(at + 20), rawSize});
        }
        return {};
    }

    // The file offset of an address in the image; false when no section's file data holds it.
    bool Offset(std::uint64_t address, std::size_t size, std::size_t& offset) const {
        for (const Section& section : sections_) {
            if (address < section.address || address - section.address >= section.span) {
                continue;
            }
            std::uint64_t within = address - section.address;
            if (within + size > section.rawSize) {
                return false;
            }
            offset = static_cast<std::size_t>(section.rawOffset + within);
            return read_.Fits(offset, size);
        }
        return false;
    }

    std::string Imports(std::vector<ImportedDll>& dlls) const {
        if (importAddress_ == 0) {
            return {};
        }
        for (std::uint64_t descriptor = importAddress_;; descriptor += kImportDescriptorSize) {
            std::size_t at = 0;
            if (!Offset(descriptor, kImportDescriptorSize, at)) {
                return "import descriptor outside the file";
            }
            std::uint32_t lookup = read_.U32(at);
            std::uint32_t name = read_.U32(at + 12);
            std::uint32_t slots = read_.U32(at + 16);
            if (name == 0 && slots == 0) {
                return {};
            }
            ImportedDll dll;
            std::size_t nameAt = 0;
            if (!Offset(name, 1, nameAt) || !read_.Text(nameAt, dll.name)) {
                return "DLL name outside the file";
            }
            std::string error = Functions(lookup != 0 ? lookup : slots, dll.functions);
            if (!error.empty()) {
                return dll.name + ": " + error;
            }
            dlls.push_back(std::move(dll));
        }
    }

  private:
    std::string Functions(std::uint64_t thunks, std::vector<std::string>& functions) const {
        std::size_t width = wide_ ? 8 : 4;
        std::uint64_t ordinalFlag = std::uint64_t{1} << (width * 8 - 1);
        for (std::uint64_t thunk = thunks;; thunk += width) {
            std::size_t at = 0;
            if (!Offset(thunk, width, at)) {
                return "import lookup table outside the file";
            }
            std::uint64_t entry = read_.Unsigned(at, width);
            if (entry == 0) {
                return {};
            }
            if ((entry & ordinalFlag) != 0) {
                std::string ordinal = "#";
                ordinal += std::to_string(entry & 0xFFFF);
                functions.push_back(std::move(ordinal));
                continue;
            }
            std::size_t nameAt = 0;
            std::string function;
            // A hint (u16) precedes the name.
            if (!Offset(entry & 0x7FFFFFFF, 3, nameAt) || !read_.Text(nameAt + 2, function)) {
                return "function name outside the file";
            }
            functions.push_back(std::move(function));
        }
    }

    Reader read_;
    bool wide_ = false;
    std::uint32_t importAddress_ = 0;
    std::vector<Section> sections_;
};

} // namespace

PeImports ReadPeImports(const std::vector<unsigned char>& file) {
    PeImports result;
    Image image(file);
    result.error = image.Open();
    if (result.error.empty()) {
        result.error = image.Imports(result.dlls);
    }
    return result;
}

} // namespace sim
