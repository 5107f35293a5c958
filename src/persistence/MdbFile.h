#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One table definition of an Access file as the table dialog needs it.
struct MdbTableDefInfo {
    std::string name; // UTF-8
    // The object's flags as the file keeps them (system tables carry bits of
    // CMdbFile::SystemObjectMask), plus AttachedTable for a linked table.
    std::uint32_t attributes = 0;
};

// A whole table read into memory: column names in definition order, rows in
// the order the table delivers them.
struct MdbTableContents {
    std::vector<std::string> columns;
    // NULL is nullopt. Numbers as decimal text, texts in UTF-8, yes/no as
    // "1"/"0", dates as "YYYY-MM-DD hh:mm:ss". OLE objects and column kinds libmdb
    // cannot convert give an empty text.
    std::vector<std::vector<std::optional<std::string>>> rows;
};

// Read-only access to a Microsoft Access (Jet 3 / Jet 4) database file through
// libmdb. Every failure, including a damaged or truncated file, ends in a false
// result and an error text; nothing is ever written to the file.
class CMdbFile {
public:
    static constexpr std::uint32_t SystemObjectMask = 0x80000002U;
    static constexpr std::uint32_t AttachedTable = 0x40000000U;

    CMdbFile();
    ~CMdbFile();
    CMdbFile(const CMdbFile&) = delete;
    CMdbFile& operator=(const CMdbFile&) = delete;

    // True when the file starts with the signature of an Access database
    // (Jet, or ACE for the newer format that Open then refuses by name).
    static bool LooksLikeAccessFile(const std::string& path);
    // The same test on a file's first bytes.
    static bool HasAccessSignature(const std::string& header);

    // Reads the file and its table definitions. False with GetError() set.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // Table definitions (tables and linked tables, system tables included) in
    // the order of the file's catalog.
    const std::vector<MdbTableDefInfo>& GetTableDefs() const { return m_tableDefs; }

    // Reads one table by name (exact match first, then ignoring ASCII case).
    // False with GetError() set; contents is then empty.
    bool ReadTable(const std::string& name, MdbTableContents& contents);

    const std::string& GetError() const { return m_strError; }

private:
    struct Impl;
    bool Fail(const std::string& text);

    std::unique_ptr<Impl> m_impl;
    std::vector<MdbTableDefInfo> m_tableDefs;
    std::string m_strPath;
    std::string m_strError;
};
