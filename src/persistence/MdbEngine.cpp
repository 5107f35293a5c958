#include "persistence/MdbEngine.h"

#include "persistence/DaoException.h"
#include "persistence/DaoMemoryTable.h"

bool CMdbEngine::Recognises(const std::string& header) {
    return CMdbFile::HasAccessSignature(header);
}

std::unique_ptr<IDaoEngine> CMdbEngine::Open(const std::string& path) {
    std::unique_ptr<CMdbEngine> engine(new CMdbEngine(path));
    if (!engine->m_file.Open(path)) {
        throw CDaoException(engine->m_file.GetError());
    }
    return engine;
}

std::string CMdbEngine::ReadOnlyMessage(const std::string& path) {
    return "Die Access-Datenbank '" + path +
           "' kann nur gelesen werden. Gespeichert wird in eine andere Datenbankdatei; "
           "eine neue Datei erhält die Tabelle \"Klassen\".";
}

CMdbEngine::CMdbEngine(std::string path) : m_strPath(std::move(path)) {}

int CMdbEngine::GetTableDefCount() {
    return static_cast<int>(m_file.GetTableDefs().size());
}

CDaoTableDefInfo CMdbEngine::GetTableDefInfo(int index) {
    const auto& defs = m_file.GetTableDefs();
    if (index < 0 || static_cast<std::size_t>(index) >= defs.size()) {
        throw CDaoException("Die Tabellendefinition " + std::to_string(index) + " gibt es nicht.");
    }
    const MdbTableDefInfo& def = defs[static_cast<std::size_t>(index)];
    return {def.name, def.attributes};
}

std::unique_ptr<IDaoTable> CMdbEngine::OpenTable(const std::string& name) {
    MdbTableContents contents;
    if (!m_file.ReadTable(name, contents)) {
        throw CDaoException(m_file.GetError());
    }
    return std::make_unique<CDaoMemoryTable>(std::move(contents.columns), std::move(contents.rows),
                                             ReadOnlyMessage(m_strPath));
}

void CMdbEngine::BeginTrans() {
    throw CDaoException(ReadOnlyMessage(m_strPath));
}

void CMdbEngine::CommitTrans() {
    throw CDaoException(ReadOnlyMessage(m_strPath));
}
