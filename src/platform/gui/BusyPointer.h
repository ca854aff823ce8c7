#pragma once

namespace platform {

// The application-wide hourglass pointer while the object lives; set() and
// restore() switch it explicitly for code that restores it before a message.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void set();
    void restore();

private:
    bool m_active = false;
};

} // namespace platform
