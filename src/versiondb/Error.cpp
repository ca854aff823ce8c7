#include "versiondb/Error.h"

namespace versiondb {

namespace {

std::string describe(const QList<ErrorItem>& items)
{
    QString text;
    for (const ErrorItem& item : items) {
        if (!text.isEmpty()) {
            text += QStringLiteral("; ");
        }
        text += QString::number(item.number) + QStringLiteral(" ") + item.description;
    }
    return text.toStdString();
}

} // namespace

ErrorItem ErrorItem::of(int number)
{
    return {number, errorDescription(number)};
}

ErrorItem failureOf(const std::exception& caught)
{
    const auto* error = dynamic_cast<const Error*>(&caught);
    return error != nullptr ? error->item() : ErrorItem::of(errorNumber::EngineFailure);
}

Error::Error(int number) : Error(QList<ErrorItem>{ErrorItem::of(number)}) {}

Error::Error(QList<ErrorItem> items) : m_items(std::move(items))
{
    if (m_items.isEmpty()) {
        m_items.push_back(ErrorItem::of(errorNumber::EngineFailure));
    }
    m_what = describe(m_items);
}

void raise(const Error& error)
{
    throw error;
}

void raise(int number)
{
    raise(Error(number));
}

} // namespace versiondb
