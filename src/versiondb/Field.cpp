#include "versiondb/Field.h"

#include "versiondb/Recordset.h"

namespace versiondb {

QVariant Field::Value() const
{
    return m_recordset.value(m_column);
}

void Field::setValue(const QVariant& value)
{
    m_recordset.setValue(m_column, value);
}

QString NullToSpaces(const QVariant& value)
{
    static const QString kTwoSpaces = QStringLiteral("  ");
    if (value.isNull() || !value.canConvert<QString>()) {
        return kTwoSpaces;
    }
    return value.toString();
}

} // namespace versiondb
