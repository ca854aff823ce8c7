#pragma once

#include "versiondb/Field.h"
#include "versiondb/Sqlite.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace versiondb {

class DatabaseFile;

constexpr int dbUpdateRegular = 1;

// A table-type record set: moves in the order of the current index (in the
// table's own order while none is set), seeks on it, adds and edits records.
// Each Update is stored on its own. Statements are prepared once per record set.
class Recordset
{
public:
    Recordset(std::shared_ptr<DatabaseFile> file, const QString& table);
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    // Closes the record set if it is still open.
    ~Recordset();

    // Selects the order of moves and the key of Seek; an unknown name raises "no such index".
    // The empty name returns to the table's own order.
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
    struct Order
    {
        QString keyColumn; // empty for the table's own order
        sqlite::Statement first;
        sqlite::Statement last;
        sqlite::Statement nextInTable; // the table's own order
        sqlite::Statement nextInOrder;
        sqlite::Statement nextAfterNull;
        sqlite::Statement seek;
    };

    sqlite3* handle() const;
    void checkWritable() const;
    Order& order();
    [[nodiscard]] int keyColumnIndex(const QString& column) const;
    // Takes the row of a statement that returned one: its row id and, withValues, its values.
    bool take(sqlite::Statement& stmt, bool withValues = true);
    // Reads the current record's values by its row id.
    void reload();
    void ensureLoaded();
    [[nodiscard]] bool isDirty(int column) const;
    // True when every value written by the last Update is stored exactly as it was given.
    [[nodiscard]] bool storedAsGiven() const;
    void dropEdit() { m_editMode = EditMode::None; }
    sqlite::Statement& statementFor(std::map<std::uint64_t, sqlite::Statement>& cache, std::uint64_t mask, bool insert);

    std::shared_ptr<DatabaseFile> m_file;
    QString m_table;
    QString m_selectList;
    QStringList m_columns;
    std::vector<bool> m_integerColumn;
    std::vector<bool> m_textColumn;
    std::vector<std::unique_ptr<Field>> m_fields;

    QString m_index;
    std::map<QString, Order> m_orders;
    sqlite::Statement m_byRowid;
    mutable sqlite::Statement m_count;
    std::map<std::uint64_t, sqlite::Statement> m_inserts;
    std::map<std::uint64_t, sqlite::Statement> m_updates;

    Position m_position = Position::None;
    qint64 m_rowid = 0;
    std::vector<QVariant> m_values;
    bool m_loaded = false; // m_values are the current record's
    bool m_noMatch = false;

    EditMode m_editMode = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::uint64_t m_dirty = 0;
    Position m_positionBeforeAdd = Position::None;
    qint64 m_rowidBeforeAdd = 0;
};

} // namespace versiondb
