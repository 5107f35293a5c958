#include "persistence/DaoDatabase.h"

#include "persistence/DaoException.h"

#include <fstream>

namespace {

// Enough for every signature: SQLite's 16 bytes, the Jet and ACE names at 4..19.
constexpr std::size_t kHeaderBytes = 64;

std::string ReadHeader(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string header(kHeaderBytes, '\0');
    file.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(file ? header.size() : static_cast<std::size_t>(file.gcount()));
    return header;
}

const char* const kNotOpen = "Die Datenbank ist nicht geöffnet.";

} // namespace

CDaoDatabase::~CDaoDatabase() {
    Close();
}

void CDaoDatabase::Open(const std::string& path) {
    Close();
    const std::string header = ReadHeader(path);
    for (const CDaoEngineType& type : DaoEngineTypes()) {
        if (type.recognises(header)) {
            m_engine = type.open(path);
            m_strName = path;
            return;
        }
    }
    throw CDaoException("Unbekanntes Datenbankformat.");
}

void CDaoDatabase::Create(const std::string& path) {
    Close();
    m_engine = CSqliteEngine::Create(path);
    m_strName = path;
}

void CDaoDatabase::Attach(std::unique_ptr<IDaoEngine> engine, const std::string& name) {
    Close();
    m_engine = std::move(engine);
    m_strName = name;
}

void CDaoDatabase::Close() {
    if (m_engine) {
        m_engine->Rollback();
        m_engine.reset();
    }
    m_strName.clear();
}

int CDaoDatabase::GetTableDefCount() {
    return GetEngine().GetTableDefCount();
}

void CDaoDatabase::GetTableDefInfo(int index, CDaoTableDefInfo& info) {
    info = GetEngine().GetTableDefInfo(index);
}

void CDaoDatabase::CreateTableDef(const std::string& name,
                                  const std::vector<CDaoColumnDef>& columns) {
    auto* sqlite = dynamic_cast<CSqliteEngine*>(&GetEngine());
    if (sqlite == nullptr) {
        throw CDaoException("In dieser Datenbank können keine Tabellen angelegt werden.");
    }
    sqlite->CreateTable(name, columns);
}

void CDaoDatabase::BeginTrans() {
    GetEngine().BeginTrans();
}

void CDaoDatabase::CommitTrans() {
    GetEngine().CommitTrans();
}

void CDaoDatabase::Rollback() noexcept {
    if (m_engine) {
        m_engine->Rollback();
    }
}

IDaoEngine& CDaoDatabase::GetEngine() {
    if (!m_engine) {
        throw CDaoException(kNotOpen);
    }
    return *m_engine;
}
