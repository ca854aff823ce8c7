#pragma once

#include <QString>
#include <optional>

namespace platform {

// Marks one running instance of the program. The lock belongs to the process:
// the operating system releases it when the process ends in any way, so a
// crashed or killed instance never leaves it behind.
class InstanceLock
{
public:
    // Takes the lock named by key, or returns nothing when another process holds it.
    [[nodiscard]] static std::optional<InstanceLock> acquire(const QString& key);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    explicit InstanceLock(qintptr handle) : m_handle(handle) {}
    void release() noexcept;

    qintptr m_handle = -1;
};

// The lock key of the program installed in the given program folder.
[[nodiscard]] QString instanceLockKey(const QString& programFolder);

} // namespace platform
