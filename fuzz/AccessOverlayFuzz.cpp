// The class-table loader on Access files, reached through a valid file: the
// input is a list of patches laid over the pages that hold the header, the
// table definitions and the rows, so that mutations get past the checks on
// the file as a whole and into the table pages.
//
// Patch: page selector (1 byte, among the key pages), offset in the page
// (2 bytes, little-endian), length (1 byte), then that many bytes.
#include "FuzzSupport.h"
#include "TableRoundTrip.h"

#include <algorithm>

#ifndef VORLIX_FUZZ_ACCESS_BASE
#error "VORLIX_FUZZ_ACCESS_BASE names the valid Access file the patches are laid over"
#endif

namespace {

struct BaseFile {
    std::string bytes;
    size_t pageSize = 4096;
    std::vector<size_t> keyPages;
};

const BaseFile& Base() {
    static const BaseFile base = [] {
        BaseFile file;
        file.bytes = ReadBytes(VORLIX_FUZZ_ACCESS_BASE);
        if (file.bytes.size() < 0x20) {
            std::fprintf(stderr, "cannot read %s\n", VORLIX_FUZZ_ACCESS_BASE);
            std::abort();
        }
        // Byte 0x14 is the format: 0 for the 2 KiB pages of the oldest one.
        file.pageSize = file.bytes[0x14] == 0 ? 2048 : 4096;
        const size_t pages = file.bytes.size() / file.pageSize;
        for (size_t page = 0; page < pages; ++page) {
            const char type = file.bytes[page * file.pageSize];
            // The header page, data pages (1) and table definitions (2).
            if (page == 0 || type == 1 || type == 2) {
                file.keyPages.push_back(page);
            }
        }
        return file;
    }();
    return base;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const BaseFile& base = Base();
    std::string file = base.bytes;
    size_t at = 0;
    while (at + 4 <= size) {
        const size_t page = base.keyPages[data[at] % base.keyPages.size()];
        const size_t offset = (data[at + 1] | (data[at + 2] << 8)) % base.pageSize;
        size_t length = data[at + 3];
        at += 4;
        length = std::min({length, size - at, base.pageSize - offset});
        std::copy(data + at, data + at + length, file.begin() + page * base.pageSize + offset);
        at += length;
    }
    const std::string path = (ScratchDir() / "input.mdb").string();
    WriteBytes(path, file);
    LoadAndRoundTrip(path);
    return 0;
}
