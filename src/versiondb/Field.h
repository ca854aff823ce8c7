#pragma once

#include <QString>
#include <QVariant>

namespace versiondb {

class Recordset;

// One field of a record set's current record (or of the record being added or edited).
// A value is a QVariant: Null is an invalid QVariant, distinct from "" and from "null".
class Field
{
public:
    Field(Recordset& recordset, int column, QString name)
        : m_recordset(recordset), m_column(column), m_name(std::move(name))
    {}
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    // Without a current record raises "no current record".
    [[nodiscard]] QVariant Value() const;
    // Only between AddNew or Edit and Update.
    void setValue(const QVariant& value);
    [[nodiscard]] const QString& Name() const { return m_name; }

private:
    Recordset& m_recordset;
    int m_column;
    QString m_name;
};

// A field value, or two spaces when it is Null or cannot be read as text.
[[nodiscard]] QString NullToSpaces(const QVariant& value);

} // namespace versiondb
