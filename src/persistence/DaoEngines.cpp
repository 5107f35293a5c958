#include "persistence/DaoEngine.h"
#include "persistence/SqliteEngine.h"

namespace {

bool AnyFile(const std::string&) {
    return true;
}

} // namespace

// Engines recognising their files by the first bytes come first; SQLite takes
// the rest (its "file is not a database" is then the error text).
const std::vector<CDaoEngineType>& DaoEngineTypes() {
    static const std::vector<CDaoEngineType> types = {
        {"SQLite", AnyFile, &CSqliteEngine::Open},
    };
    return types;
}
