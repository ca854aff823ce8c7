#pragma once

#include "versiondb/ErrorNumbers.h"

#include <QList>
#include <QString>
#include <exception>
#include <string>

namespace versiondb {

// One error of an engine call: its number and its Korean description.
struct ErrorItem
{
    int Number = 0;
    QString Description;
};

// The one error of the engine: a number and a Korean description, with the
// SQLite result codes behind it when there are any (for logs only). An error
// may carry more than one item; the first is the main one.
class Error : public std::exception
{
public:
    explicit Error(int number, int sqliteCode = 0, int sqliteExtendedCode = 0);
    Error(QList<ErrorItem> items, int sqliteCode, int sqliteExtendedCode);

    [[nodiscard]] int Number() const { return m_items.front().Number; }
    [[nodiscard]] QString Description() const { return m_items.front().Description; }
    [[nodiscard]] int sqliteCode() const { return m_sqliteCode; }
    [[nodiscard]] int sqliteExtendedCode() const { return m_sqliteExtendedCode; }
    [[nodiscard]] const QList<ErrorItem>& items() const { return m_items; }

    [[nodiscard]] const char* what() const noexcept override { return m_what.c_str(); }

private:
    QList<ErrorItem> m_items;
    int m_sqliteCode = 0;
    int m_sqliteExtendedCode = 0;
    std::string m_what;
};

// Throws the error.
[[noreturn]] void raise(const Error& error);
[[noreturn]] void raise(int number, int sqliteCode = 0, int sqliteExtendedCode = 0);

} // namespace versiondb
