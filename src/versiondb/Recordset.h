#pragma once

#include "versiondb/Field.h"
#include "versiondb/Sqlite.h"

#include <QString>
#include <QVariant>
#include <array>
#include <map>
#include <memory>

namespace versiondb {

class DatabaseFile;

constexpr int dbUpdateRegular = 1;

// A table-type record set on the verse table of a version file (its six fields):
// moves in the order of the current index (in the table's own order while none is
// set), seeks on it, adds and edits records. Each Update is stored on its own.
// A seek reads only the index; the values are read when first asked for.
class Recordset
{
public:
    static constexpr int kFieldCount = 6;

    Recordset(std::shared_ptr<DatabaseFile> file, const QString& table);
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    // Closes the record set if it is still open.
    ~Recordset();

    // Selects the order of moves and the key of Seek: "번호", "성경구절", or the empty
    // name for the table's own order. Any other name, or an index the file lacks,
    // raises "no such index".
    void setIndex(const QString& name);
    [[nodiscard]] QString Index() const { return m_index; }

    // Positions on the first record whose key in the current index equals key ("=" only),
    // and sets NoMatch. Without a match there is no current record.
    void Seek(const QString& comparison, const QVariant& key);
    [[nodiscard]] bool NoMatch() const { return m_noMatch; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    // True after a MoveNext past the last record (and on an empty table).
    [[nodiscard]] bool Eof() const { return m_position == Position::Eof; }

    // The exact number of records in the table.
    [[nodiscard]] int RecordCount() const;

    // An unknown name raises "no such field".
    [[nodiscard]] Field& Fields(const QString& name);

    void AddNew();
    void Edit();
    // Stores the record being added or edited, on its own.
    void Update(int updateType = dbUpdateRegular, bool force = false);

    // Closes the record set; a pending addition or edit is dropped. Closing again does nothing.
    void Close() noexcept;
    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }

private:
    friend class Field;
    [[nodiscard]] QVariant value(int column);
    void setValue(int column, const QVariant& value);

    enum class Position
    {
        Record,
        Eof,
        None
    };
    enum class EditMode
    {
        None,
        Adding,
        Editing
    };
    using Values = std::array<QVariant, kFieldCount>;
    // The statements of one order; keyColumn is -1 for the table's own order.
    struct Order
    {
        int keyColumn = -1;
        sqlite::Statement first;
        sqlite::Statement last;
        sqlite::Statement next;
        sqlite::Statement nextAfterNull;
        sqlite::Statement seek;
    };

    sqlite3* handle() const;
    void checkWritable() const;
    Order& order() { return m_orders.at(m_index); }
    void prepareOrder(const QString& index, int keyColumn);
    // Takes the row of a statement that returned one: its row id and, withValues, its values.
    bool take(sqlite::Statement& stmt, bool withValues = true);
    void moveTo(sqlite::Statement& stmt);
    void ensureLoaded();
    void dropEdit() { m_editMode = EditMode::None; }

    std::shared_ptr<DatabaseFile> m_file;
    QString m_table;
    std::array<std::unique_ptr<Field>, kFieldCount> m_fields;

    QString m_index;
    std::map<QString, Order> m_orders;
    sqlite::Statement m_byRowid;
    mutable sqlite::Statement m_count;
    sqlite::Statement m_insert;
    // One statement per set of edited fields, prepared when first needed.
    std::array<sqlite::Statement, 1U << kFieldCount> m_updates;

    Position m_position = Position::None;
    qint64 m_rowid = 0;
    Values m_values;
    bool m_loaded = false; // m_values are the current record's
    bool m_noMatch = false;

    EditMode m_editMode = EditMode::None;
    Values m_buffer;
    unsigned m_dirty = 0; // one bit per field set since AddNew or Edit
    Position m_positionBeforeAdd = Position::None;
    qint64 m_rowidBeforeAdd = 0;
};

} // namespace versiondb
