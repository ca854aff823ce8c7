#include "versiondb/Recordset.h"

#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"
#include "versiondb/VersionFile.h"

namespace versiondb {

namespace {

// The fields of the verse table, in the order of its columns. Its indexes are named after their key field.
const QStringList& fieldNames()
{
    static const QStringList names = VersionFile::fieldNames();
    return names;
}

int columnNamed(const QString& name)
{
    for (int i = 0; i < Recordset::kFieldCount; ++i) {
        if (fieldNames()[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

// The row id and then every field.
QString selectList()
{
    QString list = QStringLiteral("rowid");
    for (const QString& name : fieldNames()) {
        list += QStringLiteral(", ") + sqlite::quoted(name);
    }
    return list;
}

bool isSet(unsigned mask, int column)
{
    return (mask & (1U << column)) != 0;
}

} // namespace

Recordset::Recordset(std::shared_ptr<DatabaseFile> file, const QString& table) : m_file(std::move(file))
{
    sqlite3* db = m_file->handle();
    {
        sqlite::Statement find(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ?1 "
                                                  "COLLATE NOCASE AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
        find.bind(1, table);
        if (!find.step()) {
            raise(errorNumber::NoSuchTable);
        }
        m_table = find.columnText(0);
    }
    for (int i = 0; i < kFieldCount; ++i) {
        m_fields[i] = std::make_unique<Field>(*this, i, fieldNames()[i]);
    }
    const QString from = QStringLiteral(" FROM ") + sqlite::quoted(m_table);
    m_byRowid =
        sqlite::Statement(db, QStringLiteral("SELECT ") + selectList() + from + QStringLiteral(" WHERE rowid = ?1"));
    m_count = sqlite::Statement(db, QStringLiteral("SELECT count(*)") + from);
    m_file->attach(this);

    // A table-type record set opens on its first record.
    try {
        prepareOrder(QString(), -1);
        if (!take(order().first)) {
            m_position = Position::Eof;
        }
    } catch (const Error&) {
        Close();
        throw;
    }
}

Recordset::~Recordset()
{
    Close();
}

void Recordset::Close() noexcept
{
    if (!m_file) {
        return;
    }
    m_orders.clear();
    m_insert = sqlite::Statement();
    for (sqlite::Statement& update : m_updates) {
        update = sqlite::Statement();
    }
    m_byRowid = sqlite::Statement();
    m_count = sqlite::Statement();
    m_file->detach(this);
    m_file.reset();
    m_position = Position::None;
    m_editMode = EditMode::None;
}

sqlite3* Recordset::handle() const
{
    if (!m_file) {
        raise(errorNumber::ObjectClosed);
    }
    return m_file->handle();
}

void Recordset::checkWritable() const
{
    if (m_file->readOnly()) {
        raise(errorNumber::ReadOnly);
    }
}

void Recordset::prepareOrder(const QString& index, int keyColumn)
{
    sqlite3* db = handle();
    Order o;
    o.keyColumn = keyColumn;
    const QString table = sqlite::quoted(m_table);
    const QString head = QStringLiteral("SELECT ") + selectList() + QStringLiteral(" FROM ") + table;
    if (keyColumn < 0) {
        o.first = sqlite::Statement(db, head + QStringLiteral(" ORDER BY rowid LIMIT 1"));
        o.last = sqlite::Statement(db, head + QStringLiteral(" ORDER BY rowid DESC LIMIT 1"));
        o.next = sqlite::Statement(db, head + QStringLiteral(" WHERE rowid > ?2 ORDER BY rowid LIMIT 1"));
    } else {
        // An index orders records of equal key by their row id, and Null keys first.
        const QString k = sqlite::quoted(fieldNames()[keyColumn]);
        const QString by = QStringLiteral(" INDEXED BY ") + sqlite::quoted(index);
        const QString h = head + by;
        const QString inOrder = QStringLiteral(" ORDER BY ") + k + QStringLiteral(", rowid LIMIT 1");
        o.first = sqlite::Statement(db, h + inOrder);
        o.last =
            sqlite::Statement(db, h + QStringLiteral(" ORDER BY ") + k + QStringLiteral(" DESC, rowid DESC LIMIT 1"));
        // The record after (key, row id) in index order: one step along the index.
        o.next =
            sqlite::Statement(db, h + QStringLiteral(" WHERE (") + k + QStringLiteral(", rowid) > (?1, ?2)") + inOrder);
        o.nextAfterNull = sqlite::Statement(db, h + QStringLiteral(" WHERE ") + k +
                                                    QStringLiteral(" IS NOT NULL OR rowid > ?2") + inOrder);
        // Only the row id: the index answers a seek alone, and the values are read when asked for.
        o.seek = sqlite::Statement(db, QStringLiteral("SELECT rowid FROM ") + table + by + QStringLiteral(" WHERE ") +
                                           k + QStringLiteral(" = ?1 ORDER BY rowid LIMIT 1"));
    }
    m_orders.emplace(index, std::move(o));
}

bool Recordset::take(sqlite::Statement& stmt, bool withValues)
{
    sqlite::ResetGuard guard(stmt);
    if (!stmt.step()) {
        return false;
    }
    m_rowid = stmt.columnInt(0);
    m_loaded = withValues;
    for (int i = 0; withValues && i < kFieldCount; ++i) {
        m_values[i] = stmt.column(i + 1);
    }
    m_position = Position::Record;
    return true;
}

void Recordset::ensureLoaded()
{
    if (m_loaded) {
        return;
    }
    m_byRowid.bindInt(1, m_rowid);
    if (!take(m_byRowid)) {
        m_position = Position::None;
        raise(errorNumber::NoCurrentRecord);
    }
}

void Recordset::setIndex(const QString& name)
{
    sqlite3* db = handle();
    if (name.isEmpty()) {
        m_index.clear();
        return;
    }
    const int keyColumn = columnNamed(name);
    const QString index = keyColumn < 0 ? name : fieldNames()[keyColumn];
    if (m_orders.find(index) == m_orders.end()) {
        sqlite::Statement find(db, QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                                                  "AND name = ?2"));
        find.bind(1, m_table);
        find.bind(2, index);
        if (keyColumn < 0 || !find.step()) {
            raise(errorNumber::NoSuchIndex);
        }
        prepareOrder(index, keyColumn);
    }
    m_index = index;
}

void Recordset::Seek(const QString& comparison, const QVariant& key)
{
    handle();
    if (m_index.isEmpty() || comparison.trimmed() != QStringLiteral("=")) {
        raise(errorNumber::InvalidArgument);
    }
    dropEdit();
    Order& o = order();
    o.seek.bind(1, key);
    m_noMatch = !take(o.seek, false);
    if (m_noMatch) {
        m_position = Position::None;
    }
}

void Recordset::moveTo(sqlite::Statement& stmt)
{
    if (!take(stmt)) {
        m_position = Position::Eof;
        raise(errorNumber::NoCurrentRecord);
    }
}

void Recordset::MoveFirst()
{
    handle();
    dropEdit();
    moveTo(order().first);
}

void Recordset::MoveLast()
{
    handle();
    dropEdit();
    moveTo(order().last);
}

void Recordset::MoveNext()
{
    handle();
    if (m_position != Position::Record) {
        raise(errorNumber::NoCurrentRecord);
    }
    dropEdit();
    Order& o = order();
    sqlite::Statement* next = &o.next;
    if (o.keyColumn >= 0) {
        ensureLoaded();
        const QVariant& key = m_values[o.keyColumn];
        if (key.isNull()) {
            next = &o.nextAfterNull;
        } else {
            next->bind(1, key);
        }
    }
    next->bindInt(2, m_rowid);
    if (!take(*next)) {
        m_position = Position::Eof;
    }
}

int Recordset::RecordCount() const
{
    handle();
    sqlite::ResetGuard guard(m_count);
    return m_count.step() ? static_cast<int>(m_count.columnInt(0)) : 0;
}

Field& Recordset::Fields(const QString& name)
{
    handle();
    const int column = columnNamed(name);
    if (column < 0) {
        raise(errorNumber::NoSuchField);
    }
    return *m_fields[column];
}

QVariant Recordset::value(int column)
{
    handle();
    if (m_editMode == EditMode::Adding || (m_editMode == EditMode::Editing && isSet(m_dirty, column))) {
        return m_buffer[column];
    }
    if (m_position != Position::Record) {
        raise(errorNumber::NoCurrentRecord);
    }
    ensureLoaded();
    return m_values[column];
}

void Recordset::setValue(int column, const QVariant& value)
{
    handle();
    if (m_editMode == EditMode::None) {
        raise(m_position == Position::Record ? errorNumber::UpdateWithoutEdit : errorNumber::NoCurrentRecord);
    }
    m_buffer[column] = value;
    m_dirty |= 1U << column;
}

void Recordset::AddNew()
{
    handle();
    checkWritable();
    if (m_editMode != EditMode::Adding) {
        m_positionBeforeAdd = m_position;
        m_rowidBeforeAdd = m_rowid;
    }
    m_buffer = Values();
    m_dirty = 0;
    m_editMode = EditMode::Adding;
}

void Recordset::Edit()
{
    handle();
    checkWritable();
    if (m_position != Position::Record) {
        raise(errorNumber::NoCurrentRecord);
    }
    // Fields not assigned are read from the record itself.
    m_buffer = Values();
    m_dirty = 0;
    m_editMode = EditMode::Editing;
}

void Recordset::Update(int updateType, bool force)
{
    (void)force;
    handle();
    if (updateType != dbUpdateRegular) {
        raise(errorNumber::InvalidArgument);
    }
    if (m_editMode == EditMode::None) {
        raise(m_position == Position::Record ? errorNumber::UpdateWithoutEdit : errorNumber::NoCurrentRecord);
    }
    checkWritable();
    const bool adding = m_editMode == EditMode::Adding;
    if (!adding && m_dirty == 0) {
        dropEdit();
        return;
    }
    // An addition stores every field (Null where none was set); an edit only the fields set.
    const unsigned stored = adding ? (1U << kFieldCount) - 1 : m_dirty;
    sqlite::Statement& stmt = adding ? m_insert : m_updates[stored];
    if (!stmt.isPrepared()) {
        QStringList names;
        QStringList params;
        QStringList sets;
        for (int i = 0; i < kFieldCount; ++i) {
            if (isSet(stored, i)) {
                names.push_back(sqlite::quoted(fieldNames()[i]));
                params.push_back(QStringLiteral("?%1").arg(i + 1));
                sets.push_back(names.back() + QStringLiteral(" = ") + params.back());
            }
        }
        const QString table = sqlite::quoted(m_table);
        stmt = sqlite::Statement(
            handle(), adding ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, names.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")))
                             : QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                   .arg(table, sets.join(QStringLiteral(", ")))
                                   .arg(kFieldCount + 1));
    }
    {
        sqlite::ResetGuard guard(stmt);
        for (int i = 0; i < kFieldCount; ++i) {
            if (isSet(stored, i)) {
                stmt.bind(i + 1, m_buffer[i]);
            }
        }
        if (!adding) {
            stmt.bindInt(kFieldCount + 1, m_rowid);
        }
        (void)stmt.step();
    }
    dropEdit();
    if (adding) {
        // The record that was current before AddNew stays current, its values as they were read.
        m_position = m_positionBeforeAdd;
        m_rowid = m_rowidBeforeAdd;
    } else {
        // Read again when asked for, as the table stored them.
        m_loaded = false;
    }
}

} // namespace versiondb
