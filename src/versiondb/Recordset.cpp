#include "versiondb/Recordset.h"

#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"

namespace versiondb {

namespace {

constexpr int kMaxMaskedColumns = 64;

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
    {
        sqlite::Statement info(db, QStringLiteral("SELECT name, upper(type) FROM pragma_table_info(?1)"));
        info.bind(1, m_table);
        while (info.step()) {
            m_columns.push_back(info.columnText(0));
            // The column affinities that keep a value of the same kind exactly as it was given.
            const QString type = info.columnText(1);
            m_integerColumn.push_back(type.contains(QStringLiteral("INT")));
            m_textColumn.push_back(!type.contains(QStringLiteral("INT")) &&
                                   (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("CLOB")) ||
                                    type.contains(QStringLiteral("TEXT"))));
        }
    }
    m_selectList = QStringLiteral("rowid");
    for (int i = 0; i < m_columns.size(); ++i) {
        m_selectList += QStringLiteral(", ") + sqlite::quoted(m_columns.at(i));
        m_fields.push_back(std::make_unique<Field>(*this, i, m_columns.at(i)));
    }
    const QString from = QStringLiteral(" FROM ") + sqlite::quoted(m_table);
    m_byRowid =
        sqlite::Statement(db, QStringLiteral("SELECT ") + m_selectList + from + QStringLiteral(" WHERE rowid = ?1"));
    m_count = sqlite::Statement(db, QStringLiteral("SELECT count(*)") + from);
    m_file->attach(this);

    // A table-type record set opens on its first record.
    try {
        Order& tableOrder = order();
        if (!take(tableOrder.first)) {
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
    m_inserts.clear();
    m_updates.clear();
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

int Recordset::keyColumnIndex(const QString& column) const
{
    return static_cast<int>(m_columns.indexOf(column));
}

Recordset::Order& Recordset::order()
{
    auto found = m_orders.find(m_index);
    if (found != m_orders.end()) {
        return found->second;
    }
    sqlite3* db = handle();
    Order o;
    const QString head = QStringLiteral("SELECT ") + m_selectList + QStringLiteral(" FROM ") + sqlite::quoted(m_table);
    if (m_index.isEmpty()) {
        o.first = sqlite::Statement(db, head + QStringLiteral(" ORDER BY rowid LIMIT 1"));
        o.last = sqlite::Statement(db, head + QStringLiteral(" ORDER BY rowid DESC LIMIT 1"));
        o.nextInTable = sqlite::Statement(db, head + QStringLiteral(" WHERE rowid > ?2 ORDER BY rowid LIMIT 1"));
    } else {
        sqlite::Statement info(db, QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        info.bind(1, m_index);
        QStringList keyColumns;
        while (info.step()) {
            keyColumns.push_back(info.columnText(0));
        }
        if (keyColumns.size() != 1 || keyColumnIndex(keyColumns.front()) < 0) {
            raise(errorNumber::NotSupported);
        }
        o.keyColumn = keyColumns.front();
        const QString k = sqlite::quoted(o.keyColumn);
        const QString by = QStringLiteral(" INDEXED BY ") + sqlite::quoted(m_index);
        const QString h = head + by;
        // An index orders records of equal key by their row id.
        o.first = sqlite::Statement(db, h + QStringLiteral(" ORDER BY ") + k + QStringLiteral(" LIMIT 1"));
        o.last = sqlite::Statement(db, h + QStringLiteral(" ORDER BY ") + k + QStringLiteral(" DESC LIMIT 1"));
        // The record after (key, row id) in index order: one step along the index.
        o.nextInOrder =
            sqlite::Statement(db, h + QStringLiteral(" WHERE (") + k + QStringLiteral(", rowid) > (?1, ?2) ORDER BY ") +
                                      k + QStringLiteral(", rowid LIMIT 1"));
        o.nextAfterNull = sqlite::Statement(db, h + QStringLiteral(" WHERE ") + k +
                                                    QStringLiteral(" IS NULL AND rowid > ?2 ORDER BY rowid LIMIT 1"));
        // Only the row id: the index answers a seek alone, and the values are read when asked for.
        o.seek =
            sqlite::Statement(db, QStringLiteral("SELECT rowid FROM ") + sqlite::quoted(m_table) + by +
                                      QStringLiteral(" WHERE ") + k + QStringLiteral(" = ?1 ORDER BY rowid LIMIT 1"));
    }
    return m_orders.emplace(m_index, std::move(o)).first->second;
}

bool Recordset::take(sqlite::Statement& stmt, bool withValues)
{
    sqlite::ResetGuard guard(stmt);
    if (!stmt.step()) {
        return false;
    }
    m_rowid = stmt.columnInt(0);
    m_loaded = withValues;
    if (withValues) {
        m_values.resize(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i) {
            m_values[i] = stmt.column(i + 1);
        }
    }
    m_position = Position::Record;
    return true;
}

void Recordset::reload()
{
    m_byRowid.bindInt(1, m_rowid);
    if (!take(m_byRowid)) {
        m_position = Position::None;
        raise(errorNumber::NoCurrentRecord);
    }
}

void Recordset::ensureLoaded()
{
    if (!m_loaded) {
        reload();
    }
}

void Recordset::setIndex(const QString& name)
{
    sqlite3* db = handle();
    if (name.isEmpty()) {
        m_index.clear();
        return;
    }
    sqlite::Statement find(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                                              "AND name = ?2 COLLATE NOCASE"));
    find.bind(1, m_table);
    find.bind(2, name);
    if (!find.step()) {
        raise(errorNumber::NoSuchIndex);
    }
    const QString previous = m_index;
    m_index = find.columnText(0);
    try {
        (void)order();
    } catch (const Error&) {
        m_index = previous;
        throw;
    }
}

void Recordset::Seek(const QString& comparison, const QVariant& key)
{
    handle();
    if (m_index.isEmpty()) {
        raise(errorNumber::InvalidArgument);
    }
    if (comparison.trimmed() != QStringLiteral("=")) {
        raise(errorNumber::InvalidArgument);
    }
    dropEdit();
    Order& o = order();
    o.seek.bind(1, key);
    const bool found = take(o.seek, false);
    m_noMatch = !found;
    if (!found) {
        m_position = Position::None;
    }
}

void Recordset::MoveFirst()
{
    handle();
    dropEdit();
    if (!take(order().first)) {
        m_position = Position::Eof;
        raise(errorNumber::NoCurrentRecord);
    }
}

void Recordset::MoveLast()
{
    handle();
    dropEdit();
    if (!take(order().last)) {
        m_position = Position::Eof;
        raise(errorNumber::NoCurrentRecord);
    }
}

void Recordset::MoveNext()
{
    handle();
    if (m_position != Position::Record) {
        raise(errorNumber::NoCurrentRecord);
    }
    dropEdit();
    Order& o = order();
    bool found = false;
    if (o.keyColumn.isEmpty()) {
        o.nextInTable.bindInt(2, m_rowid);
        found = take(o.nextInTable);
    } else {
        ensureLoaded();
        const QVariant key = m_values.at(keyColumnIndex(o.keyColumn));
        const qint64 rowid = m_rowid;
        if (!key.isValid()) {
            o.nextAfterNull.bindInt(2, rowid);
            found = take(o.nextAfterNull);
            if (!found) {
                // Null keys come first in an index; the rest follow in key order.
                sqlite::Statement rest(handle(), QStringLiteral("SELECT ") + m_selectList + QStringLiteral(" FROM ") +
                                                     sqlite::quoted(m_table) + QStringLiteral(" INDEXED BY ") +
                                                     sqlite::quoted(m_index) + QStringLiteral(" WHERE ") +
                                                     sqlite::quoted(o.keyColumn) +
                                                     QStringLiteral(" IS NOT NULL ORDER BY ") +
                                                     sqlite::quoted(o.keyColumn) + QStringLiteral(" LIMIT 1"));
                found = take(rest);
            }
        } else {
            o.nextInOrder.bind(1, key);
            o.nextInOrder.bindInt(2, rowid);
            found = take(o.nextInOrder);
        }
    }
    if (!found) {
        m_position = Position::Eof;
    }
}

int Recordset::RecordCount() const
{
    handle();
    sqlite::ResetGuard guard(m_count);
    if (!m_count.step()) {
        return 0;
    }
    return static_cast<int>(m_count.columnInt(0));
}

Field& Recordset::Fields(const QString& name)
{
    handle();
    for (const auto& field : m_fields) {
        if (field->Name().compare(name, Qt::CaseInsensitive) == 0) {
            return *field;
        }
    }
    raise(errorNumber::NoSuchField);
}

QVariant Recordset::value(int column)
{
    handle();
    if (m_editMode == EditMode::Adding || (m_editMode == EditMode::Editing && isDirty(column))) {
        return m_buffer.at(column);
    }
    if (m_position != Position::Record) {
        raise(errorNumber::NoCurrentRecord);
    }
    ensureLoaded();
    return m_values.at(column);
}

bool Recordset::isDirty(int column) const
{
    return column >= kMaxMaskedColumns || (m_dirty & (std::uint64_t{1} << column)) != 0;
}

void Recordset::setValue(int column, const QVariant& value)
{
    handle();
    if (m_editMode == EditMode::None) {
        if (m_position != Position::Record) {
            raise(errorNumber::NoCurrentRecord);
        }
        raise(errorNumber::UpdateWithoutEdit);
    }
    m_buffer.at(column) = value;
    if (column < kMaxMaskedColumns) {
        m_dirty |= std::uint64_t{1} << column;
    } else {
        m_dirty = ~std::uint64_t{0};
    }
}

void Recordset::AddNew()
{
    handle();
    checkWritable();
    if (m_editMode != EditMode::Adding) {
        m_positionBeforeAdd = m_position;
        m_rowidBeforeAdd = m_rowid;
    }
    m_buffer.assign(m_columns.size(), QVariant());
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
    m_buffer.assign(m_columns.size(), QVariant());
    m_dirty = 0;
    m_editMode = EditMode::Editing;
}

sqlite::Statement& Recordset::statementFor(std::map<std::uint64_t, sqlite::Statement>& cache, std::uint64_t mask,
                                           bool insert)
{
    auto found = cache.find(mask);
    if (found != cache.end()) {
        return found->second;
    }
    QStringList names;
    QStringList params;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (i >= kMaxMaskedColumns || (mask & (std::uint64_t{1} << i)) != 0) {
            names.push_back(sqlite::quoted(m_columns.at(i)));
            params.push_back(QStringLiteral("?%1").arg(i + 1));
        }
    }
    const QString table = sqlite::quoted(m_table);
    QString sql;
    if (insert) {
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(table, names.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
    } else {
        QStringList sets;
        for (int i = 0; i < names.size(); ++i) {
            sets.push_back(names.at(i) + QStringLiteral(" = ") + params.at(i));
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                  .arg(table, sets.join(QStringLiteral(", ")))
                  .arg(m_columns.size() + 1);
    }
    return cache.emplace(mask, sqlite::Statement(handle(), sql)).first->second;
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
    if (m_editMode == EditMode::Editing && m_dirty == 0) {
        dropEdit();
        return;
    }
    const bool adding = m_editMode == EditMode::Adding;
    sqlite::Statement& stmt = statementFor(adding ? m_inserts : m_updates, m_dirty, adding);
    {
        sqlite::ResetGuard guard(stmt);
        for (int i = 0; i < m_columns.size(); ++i) {
            if (i >= kMaxMaskedColumns || (m_dirty & (std::uint64_t{1} << i)) != 0) {
                stmt.bind(i + 1, m_buffer.at(i));
            }
        }
        if (!adding) {
            stmt.bindInt(static_cast<int>(m_columns.size()) + 1, m_rowid);
        }
        (void)stmt.step();
    }
    dropEdit();
    if (adding) {
        // The record that was current before AddNew stays current.
        // Its values are still those read when it became current: only another record was written.
        m_position = m_positionBeforeAdd;
        m_rowid = m_rowidBeforeAdd;
    } else if (m_loaded && storedAsGiven()) {
        for (int i = 0; i < m_columns.size(); ++i) {
            if (isDirty(i)) {
                m_values[i] = m_buffer[i];
            }
        }
    } else {
        // Read again when asked for, as the table stored them.
        m_loaded = false;
    }
}

bool Recordset::storedAsGiven() const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (i < kMaxMaskedColumns && (m_dirty & (std::uint64_t{1} << i)) == 0) {
            continue;
        }
        const QVariant& v = m_buffer.at(i);
        const int type = v.typeId();
        const bool same = !v.isValid() || (m_textColumn.at(i) && type == QMetaType::QString) ||
                          (m_integerColumn.at(i) && (type == QMetaType::Int || type == QMetaType::LongLong));
        if (!same) {
            return false;
        }
    }
    return true;
}

} // namespace versiondb
