#include "persistence/MdbFile.h"

#include "platform/FileServices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mdbtools.h>
#include <optional>
#include <set>

namespace {

constexpr std::size_t SignatureLength = 20;
constexpr char JetSignature[SignatureLength + 1] = "\x00\x01\x00\x00Standard Jet DB\x00";
constexpr char AceSignature[SignatureLength + 1] = "\x00\x01\x00\x00Standard ACE DB\x00";
constexpr std::size_t VersionOffset = 0x14;
constexpr unsigned char DataPage = 0x01;
constexpr unsigned char TableDefinitionPage = 0x02;
constexpr std::size_t DataPageOwnerOffset = 4;
constexpr unsigned DeletedRowFlag = 0x4000;
constexpr unsigned long CatalogPage = 2; // MSysObjects' definition
// Object types in MSysObjects' Type column.
constexpr long LocalTableType = 1;
constexpr long LinkedTableType = 6;
constexpr int OffsetMask = 0x1fff; // row offsets carry flags above these bits
// Texts and memos are converted into one buffer of this size (65535 UCS-2
// characters are at most three UTF-8 bytes each). libmdb copies whole
// property blobs into buffers of this size, so it must not be below its default.
constexpr std::size_t BindSize = 3 * 65536 + 1;
static_assert(BindSize >= MDB_BIND_SIZE);
// Limits no sound table definition exceeds (Access allows 255 columns and 32
// indexes); libmdb sizes fixed arrays by the column count.
constexpr unsigned MaxColumns = 255;
constexpr unsigned MaxIndexes = 1000;
constexpr std::size_t UsageMapHeader = 5;
constexpr double kFirstDate = -657434.0; // 0100-01-01
constexpr double kLastDate = 2958466.0;  // 10000-01-01

struct Layout {
    std::size_t pageSize;
    std::size_t numVarColsOffset;
    std::size_t numColsOffset;
    std::size_t numIdxsOffset;
    std::size_t numRealIdxsOffset;
    std::size_t rowCountOffset; // on data pages, followed by the row offsets
};
constexpr Layout Jet3Layout{2048, 23, 25, 27, 31, 0x08};
constexpr Layout Jet4Layout{4096, 43, 45, 47, 51, 0x0c};

unsigned ReadUInt16(const unsigned char* bytes, std::size_t offset) {
    return bytes[offset] | (static_cast<unsigned>(bytes[offset + 1]) << 8);
}

std::uint32_t ReadUInt32(const unsigned char* bytes, std::size_t offset) {
    return ReadUInt16(bytes, offset) |
           (static_cast<std::uint32_t>(ReadUInt16(bytes, offset + 2)) << 16);
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// The fixed size a value of a column type needs in the row, 0 for variable ones.
int FixedValueSize(int type) {
    switch (type) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_COMPLEX:
    case MDB_FLOAT:
        return 4;
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_MONEY:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        return 0;
    }
}

bool ConvertibleByLibmdb(int type) {
    switch (type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
        return true;
    default:
        return false; // OLE objects and kinds libmdb does not know
    }
}

struct GFreeDeleter {
    void operator()(char* text) const { g_free(text); }
};
using GText = std::unique_ptr<char, GFreeDeleter>;

struct TableDeleter {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

} // namespace

struct CMdbFile::Impl {
    // The whole file, read once: libmdb reads its pages from this copy through
    // a memory stream, so a file changing meanwhile cannot surprise it.
    std::string data;
    Layout layout{};
    MdbHandle* mdb = nullptr;
    std::vector<std::unique_ptr<MdbCatalogEntry>> entries; // parallel to m_tableDefs

    ~Impl() {
        if (mdb != nullptr) {
            mdb_close(mdb);
        }
    }

    std::size_t PageCount() const { return data.size() / layout.pageSize; }

    // A page as libmdb sees it (decrypted where the file is encoded), in its
    // spare page buffer; null when the page is not in the file.
    const unsigned char* ReadPage(unsigned long page) const {
        if (page >= PageCount() ||
            mdb_read_alt_pg(mdb, page) != static_cast<ssize_t>(layout.pageSize)) {
            return nullptr;
        }
        return mdb->alt_pg_buf;
    }

    // Checks what libmdb takes on trust before it reads a table definition:
    // the page exists and is one, and its counts stay within what its fixed
    // arrays and Access itself allow.
    bool TableDefinitionLooksSound(unsigned long page) const {
        const unsigned char* bytes = page == 0 ? nullptr : ReadPage(page);
        if (bytes == nullptr || bytes[0] != TableDefinitionPage) {
            return false;
        }
        const unsigned columns = ReadUInt16(bytes, layout.numColsOffset);
        const unsigned varColumns = ReadUInt16(bytes, layout.numVarColsOffset);
        const std::uint32_t indexes = ReadUInt32(bytes, layout.numIdxsOffset);
        const std::uint32_t realIndexes = ReadUInt32(bytes, layout.numRealIdxsOffset);
        return columns >= 1 && columns <= MaxColumns && varColumns <= columns &&
               indexes <= MaxIndexes && realIndexes <= MaxIndexes;
    }

    // libmdb delivers no row at all when the definition counts none. Such a
    // table must own no data page with a row that is not deleted.
    bool EmptyTableHasNoRows(MdbTableDef& table) const {
        if (table.num_rows != 0) {
            return true;
        }
        for (const guint32 page : DataPages(table)) {
            const unsigned char* bytes = ReadPage(page);
            if (bytes == nullptr || bytes[0] != DataPage ||
                ReadUInt32(bytes, DataPageOwnerOffset) != table.entry->table_pg) {
                continue;
            }
            const unsigned rows = ReadUInt16(bytes, layout.rowCountOffset);
            for (unsigned row = 0; row < rows; ++row) {
                const std::size_t at = layout.rowCountOffset + 2 + 2 * row;
                if (at + 2 > layout.pageSize) {
                    break;
                }
                if ((ReadUInt16(bytes, at) & DeletedRowFlag) == 0) {
                    return false;
                }
            }
        }
        return true;
    }

    // The data pages the table's usage map names, in order; nullopt when the
    // map names a page beyond the end of the file (rows lost to truncation,
    // which libmdb would pass over without a word) or is not sound.
    std::optional<std::vector<guint32>> MappedDataPages(MdbTableDef& table) const {
        // libmdb reads a map kind byte and a first page number from every
        // usage map without looking at its size.
        if (table.usage_map == nullptr || table.map_sz < UsageMapHeader) {
            return std::nullopt;
        }
        std::vector<guint32> pages;
        guint32 page = 0;
        for (std::size_t steps = 0; steps <= PageCount(); ++steps) {
            const gint32 next =
                mdb_map_find_next(mdb, table.usage_map, static_cast<unsigned>(table.map_sz), page);
            if (next <= 0) {
                return pages; // end of the map, or a map kind libmdb reads page by page
            }
            if (static_cast<std::size_t>(next) >= PageCount() ||
                static_cast<guint32>(next) <= page) {
                return std::nullopt;
            }
            page = static_cast<guint32>(next);
            pages.push_back(page);
        }
        return std::nullopt;
    }

    std::vector<guint32> DataPages(MdbTableDef& table) const {
        return MappedDataPages(table).value_or(std::vector<guint32>());
    }

    // A date is a count of days since 1899-12-30; libmdb turns it into an
    // integer without looking, which is undefined for NaN or a huge value.
    // Access itself keeps dates from the year 100 to 9999.
    bool DateLooksSound(int start) const {
        const double days = mdb_get_double(mdb->pg_buf, start);
        return std::isfinite(days) && days >= kFirstDate && days < kLastDate;
    }

    enum class MemoState { Empty, Readable, Damaged };

    // libmdb gives an empty text for a memo whose pages it cannot find, would
    // read the file's header page for a long memo without pages, and follows
    // a long memo's chain of pages until a null link, which in a circle
    // through rows without text would never come.
    MemoState CheckMemo(int start) const {
        const auto header = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, start));
        const std::uint32_t flags = header & 0xff000000U;
        if (flags == 0x80000000U) {
            return MemoState::Readable; // held in the row itself
        }
        if (flags != 0x40000000U && flags != 0) {
            return MemoState::Damaged;
        }
        auto link = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, start + 4));
        if (flags == 0 && link == 0) {
            return (header & 0x00ffffffU) == 0 ? MemoState::Empty : MemoState::Damaged;
        }
        std::set<std::uint32_t> seen;
        do {
            void* page = nullptr;
            int offset = 0;
            std::size_t length = 0;
            const std::uint32_t pageNumber = link >> 8; // the low byte is the row
            if (pageNumber == 0 || pageNumber >= PageCount() || !seen.insert(link).second ||
                mdb_find_pg_row(mdb, static_cast<int>(link), &page, &offset, &length) != 0) {
                return MemoState::Damaged;
            }
            if (flags != 0) {
                return MemoState::Readable; // the whole text on one page
            }
            if (length < 4) {
                return MemoState::Damaged;
            }
            link = static_cast<std::uint32_t>(mdb_get_int32(page, offset));
        } while (link != 0);
        return MemoState::Readable;
    }

    // A checked field that is not NULL, as text.
    std::string ValueText(const MdbField& field, const MdbColumn& column) const {
        if (column.col_type == MDB_BINARY) {
            return std::string(reinterpret_cast<const char*>(mdb->pg_buf) + field.start,
                               static_cast<std::size_t>(field.siz));
        }
        GText value;
        if (column.col_type == MDB_NUMERIC) {
            value.reset(mdb_numeric_to_string(mdb, field.start, column.col_scale, column.col_prec));
        } else if (ConvertibleByLibmdb(column.col_type) && field.siz > 0) {
            value.reset(
                mdb_col_to_string(mdb, mdb->pg_buf, field.start, column.col_type, field.siz));
        }
        return value ? value.get() : "";
    }

    bool ReadRows(MdbCatalogEntry& entry, MdbTableContents& contents) const;
};

// Reads a whole table through libmdb after checking what it takes on trust;
// false when the table is damaged or incomplete.
bool CMdbFile::Impl::ReadRows(MdbCatalogEntry& entry, MdbTableContents& contents) const {
    if (!TableDefinitionLooksSound(entry.table_pg)) {
        return false;
    }
    std::unique_ptr<MdbTableDef, TableDeleter> table(mdb_read_table(&entry));
    if (!table || table->num_cols == 0 || table->num_cols > MaxColumns ||
        mdb_read_columns(table.get()) == nullptr || table->columns == nullptr ||
        table->columns->len != table->num_cols || !MappedDataPages(*table) ||
        !EmptyTableHasNoRows(*table)) {
        return false;
    }

    MdbTableContents result;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        result.columns.emplace_back(column->name, strnlen(column->name, MDB_MAX_OBJ_NAME));
    }

    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    std::vector<MdbField> fields(MDB_MAX_COLS);
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        // mdb_fetch_row has cracked the row it delivers but keeps no NULL flags;
        // crack it again on the page it left in the buffer.
        int start = 0;
        std::size_t length = 0;
        if (table->cur_row == 0 ||
            mdb_find_row(mdb, static_cast<int>(table->cur_row - 1), &start, &length) != 0) {
            return false;
        }
        // Fewer fields than columns is sound: columns added later are NULL.
        if (mdb_crack_row(table.get(), start & OffsetMask, length, fields.data()) < 0) {
            return false;
        }
        std::vector<std::optional<std::string>> row(table->num_cols);
        for (unsigned c = 0; c < table->num_cols; ++c) {
            const MdbField& field = fields[c];
            if (field.colnum < 0 || static_cast<unsigned>(field.colnum) >= table->num_cols) {
                return false;
            }
            const auto* column =
                static_cast<MdbColumn*>(g_ptr_array_index(table->columns, field.colnum));
            const int type = column->col_type;
            if (type == MDB_BOOL) {
                // A yes/no value lives in the NULL mask: a set bit is yes.
                row[field.colnum].emplace(1, field.is_null ? '0' : '1');
                continue;
            }
            if (field.is_null) {
                continue;
            }
            if (field.start < 0 || field.siz < 0 || field.start + field.siz > pageSize ||
                field.siz < FixedValueSize(type) ||
                (type == MDB_MEMO && field.siz < MDB_MEMO_OVERHEAD)) {
                return false;
            }
            if (type == MDB_DATETIME && !DateLooksSound(field.start)) {
                return false;
            }
            const MemoState memo = type == MDB_MEMO ? CheckMemo(field.start) : MemoState::Readable;
            if (memo == MemoState::Damaged) {
                return false;
            }
            row[field.colnum] =
                memo == MemoState::Empty ? std::string() : ValueText(field, *column);
        }
        result.rows.push_back(std::move(row));
    }
    // libmdb passes over rows it cannot take apart; fewer rows than the
    // definition counts means some were lost.
    if (result.rows.size() < table->num_rows) {
        return false;
    }
    contents = std::move(result);
    return true;
}

CMdbFile::CMdbFile() = default;
CMdbFile::~CMdbFile() = default;

bool CMdbFile::HasAccessSignature(const std::string& header) {
    return header.size() >= SignatureLength &&
           (std::memcmp(header.data(), JetSignature, SignatureLength) == 0 ||
            std::memcmp(header.data(), AceSignature, SignatureLength) == 0);
}

bool CMdbFile::LooksLikeAccessFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(SignatureLength, '\0');
    return in.read(head.data(), static_cast<std::streamsize>(head.size())) &&
           HasAccessSignature(head);
}

bool CMdbFile::Fail(const std::string& text) {
    Close();
    m_strError = text;
    return false;
}

bool CMdbFile::Open(const std::string& path) {
    Close();
    m_strError.clear();
    m_strPath = path;
    auto impl = std::make_unique<Impl>();
    if (!ReadWholeFile(path, impl->data)) {
        return Fail("Die Datei " + Quoted(path) + " konnte nicht gelesen werden.");
    }
    const std::string& data = impl->data;
    const bool jet =
        data.size() > VersionOffset && std::memcmp(data.data(), JetSignature, SignatureLength) == 0;
    const bool ace =
        data.size() > VersionOffset && std::memcmp(data.data(), AceSignature, SignatureLength) == 0;
    if (!jet && !ace) {
        return Fail("Die Datei " + Quoted(path) + " ist keine Access-Datenbank.");
    }
    const unsigned char version = static_cast<unsigned char>(data[VersionOffset]);
    if (ace || version > MDB_VER_JET4) {
        return Fail("Die Datei " + Quoted(path) +
                    " ist eine Access-Datenbank ab Access 2007; gelesen werden Access-Dateien "
                    "im Jet-3- und Jet-4-Format (Access 97 bis 2003).");
    }
    const std::string damaged =
        "Die Access-Datenbank " + Quoted(path) + " ist beschädigt oder unvollständig.";
    impl->layout = version == MDB_VER_JET3 ? Jet3Layout : Jet4Layout;
    // Jet files are whole pages; anything else was cut short.
    if (data.size() % impl->layout.pageSize != 0 || impl->PageCount() <= CatalogPage) {
        return Fail(damaged);
    }
    impl->mdb = mdb_open_buffer(impl->data.data(), impl->data.size(), MDB_NOFLAGS);
    if (impl->mdb == nullptr) {
        return Fail(damaged);
    }
    MdbHandle* mdb = impl->mdb;
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d");
    mdb_set_bind_size(mdb, BindSize);

    // The catalog is read like any table rather than by mdb_read_catalog,
    // which also parses every object's property blob without checking it.
    MdbCatalogEntry catalog{};
    catalog.mdb = mdb;
    catalog.object_type = MDB_TABLE;
    catalog.table_pg = CatalogPage;
    std::strcpy(catalog.object_name, "MSysObjects");
    MdbTableContents objects;
    if (!impl->ReadRows(catalog, objects)) {
        return Fail(damaged);
    }
    const auto column = [&objects](const char* name) {
        return static_cast<std::size_t>(
            std::find(objects.columns.begin(), objects.columns.end(), name) -
            objects.columns.begin());
    };
    const std::size_t idColumn = column("Id");
    const std::size_t nameColumn = column("Name");
    const std::size_t typeColumn = column("Type");
    const std::size_t flagsColumn = column("Flags");
    if (std::max({idColumn, nameColumn, typeColumn, flagsColumn}) >= objects.columns.size()) {
        return Fail(damaged);
    }

    std::vector<MdbTableDefInfo> defs;
    for (const auto& row : objects.rows) {
        const long type = row[typeColumn] ? std::strtol(row[typeColumn]->c_str(), nullptr, 10) : 0;
        if ((type != LocalTableType && type != LinkedTableType) || !row[idColumn] ||
            !row[nameColumn] || row[nameColumn]->empty() ||
            row[nameColumn]->size() > MDB_MAX_OBJ_NAME) {
            continue;
        }
        auto entry = std::make_unique<MdbCatalogEntry>();
        entry->mdb = mdb;
        entry->object_type = type == LocalTableType ? MDB_TABLE : MDB_LINKED_TABLE;
        std::memcpy(entry->object_name, row[nameColumn]->data(), row[nameColumn]->size());
        entry->table_pg = std::strtoul(row[idColumn]->c_str(), nullptr, 10) & 0x00ffffffUL;
        MdbTableDefInfo info;
        info.name = *row[nameColumn];
        info.attributes =
            row[flagsColumn]
                ? static_cast<std::uint32_t>(std::strtol(row[flagsColumn]->c_str(), nullptr, 10))
                : 0;
        if (type == LinkedTableType) {
            info.attributes |= AttachedTable;
        }
        defs.push_back(std::move(info));
        impl->entries.push_back(std::move(entry));
    }
    m_impl = std::move(impl);
    m_tableDefs = std::move(defs);
    return true;
}

void CMdbFile::Close() {
    m_impl.reset();
    m_tableDefs.clear();
}

bool CMdbFile::IsOpen() const {
    return m_impl != nullptr;
}

bool CMdbFile::ReadTable(const std::string& name, MdbTableContents& contents) {
    contents = MdbTableContents();
    m_strError.clear();
    if (!m_impl) {
        m_strError = "Es ist keine Access-Datenbank geöffnet.";
        return false;
    }
    std::size_t found = m_tableDefs.size();
    for (std::size_t i = 0; i < m_tableDefs.size() && found == m_tableDefs.size(); ++i) {
        if (m_tableDefs[i].name == name) {
            found = i;
        }
    }
    for (std::size_t i = 0; i < m_tableDefs.size() && found == m_tableDefs.size(); ++i) {
        if (g_ascii_strcasecmp(m_tableDefs[i].name.c_str(), name.c_str()) == 0) {
            found = i;
        }
    }
    if (found == m_tableDefs.size()) {
        m_strError = "Die Tabelle " + Quoted(name) + " gibt es in der Access-Datenbank " +
                     Quoted(m_strPath) + " nicht.";
        return false;
    }
    MdbCatalogEntry& entry = *m_impl->entries[found];
    const std::string& table = m_tableDefs[found].name;
    if (entry.object_type == MDB_LINKED_TABLE) {
        m_strError = "Die Tabelle " + Quoted(table) +
                     " ist mit einer anderen Datenbank verknüpft; ihre Daten liegen nicht in " +
                     Quoted(m_strPath) + ".";
        return false;
    }
    if (!m_impl->ReadRows(entry, contents)) {
        m_strError = "Die Tabelle " + Quoted(table) + " der Access-Datenbank " + Quoted(m_strPath) +
                     " ist beschädigt oder unvollständig.";
        return false;
    }
    return true;
}
