#pragma once

#include "versiondb/ErrorNumbers.h"

#include <QList>
#include <QString>
#include <exception>
#include <string>

namespace versiondb {

// One failure of the core, as every core operation returns it and the windows and the command line show it: the
// engine's number and its Korean description.
struct ErrorItem
{
    int number = 0;
    QString description;

    // The item of a number, with its description.
    [[nodiscard]] static ErrorItem of(int number);
    bool operator==(const ErrorItem&) const = default;
};

// The one error of the engine: a number and a Korean description. An error
// may carry more than one item; the first is the main one.
class Error : public std::exception
{
public:
    explicit Error(int number);
    explicit Error(QList<ErrorItem> items);

    [[nodiscard]] int number() const { return m_items.front().number; }
    [[nodiscard]] QString description() const { return m_items.front().description; }
    [[nodiscard]] const ErrorItem& item() const { return m_items.front(); }
    [[nodiscard]] const QList<ErrorItem>& items() const { return m_items; }

    [[nodiscard]] const char* what() const noexcept override { return m_what.c_str(); }

private:
    QList<ErrorItem> m_items;
    std::string m_what;
};

// The failure of whatever a core operation caught: an engine error's first item, anything else the engine's
// "unexpected failure". Every core turns a caught exception into its failure here.
[[nodiscard]] ErrorItem failureOf(const std::exception& caught);

// Throws the error.
[[noreturn]] void raise(const Error& error);
[[noreturn]] void raise(int number);

} // namespace versiondb
