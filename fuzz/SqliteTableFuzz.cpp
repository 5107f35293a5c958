// The class-table loader on SQLite files: the input is the whole file.
#include "FuzzSupport.h"
#include "TableRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = (ScratchDir() / "input.db").string();
    WriteBytes(path, AsView(data, size));
    LoadAndRoundTrip(path);
    return 0;
}
