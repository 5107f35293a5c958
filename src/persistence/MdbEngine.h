#pragma once

#include "persistence/DaoEngine.h"
#include "persistence/MdbFile.h"

#include <memory>
#include <string>

// The read-only engine for Access (Jet) files. The table list is read at
// open; a table is read whole into a CDaoMemoryTable when it is opened. Every
// write, and every transaction, raises CDaoException with ReadOnlyMessage.
class CMdbEngine : public IDaoEngine {
public:
    // The first bytes of an Access file (Jet or ACE signature).
    static bool Recognises(const std::string& header);
    // Raises CDaoException with the reader's text when the file cannot be read.
    static std::unique_ptr<IDaoEngine> Open(const std::string& path);
    // Why nothing is ever written into the Access file at path.
    static std::string ReadOnlyMessage(const std::string& path);

    int GetTableDefCount() override;
    CDaoTableDefInfo GetTableDefInfo(int index) override;
    std::unique_ptr<IDaoTable> OpenTable(const std::string& name) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void Rollback() noexcept override {}

private:
    explicit CMdbEngine(std::string path);

    std::string m_strPath;
    CMdbFile m_file;
};
