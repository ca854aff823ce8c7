#pragma once

#include <QList>
#include <QString>

namespace versiondb {

// One error of the engine's Errors.
struct ErrorItem
{
    int Number = 0;
    QString Description;
};

// The errors of the last failed engine call, in order, the main one first.
class Errors
{
public:
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    // i from 0 to Count() - 1.
    [[nodiscard]] const ErrorItem& Item(int i) const { return m_items.at(i); }

    void replace(QList<ErrorItem> items) { m_items = std::move(items); }
    void clear() { m_items.clear(); }

private:
    QList<ErrorItem> m_items;
};

} // namespace versiondb
