#include "cli/ConsoleObserver.h"

#include "import/RunMessages.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 40;
constexpr std::chrono::milliseconds kRedraw{100};
// How often the drawer looks for a new stage, which it draws at once.
constexpr std::chrono::milliseconds kLook{10};

} // namespace

void printMessage(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stdout, "%s\n", shown.toUtf8().constData());
    std::fflush(stdout);
}

ConsoleObserver::ConsoleObserver(const platform::RunControl& control, bool building)
    : m_control(control), m_building(building)
{
    if (isatty(fileno(stderr)) == 0) {
        return;
    }
    m_drawer = std::thread([this] {
        std::unique_lock lock(m_mutex);
        auto drawn = std::chrono::steady_clock::now();
        int stage = -1;
        while (!m_wake.wait_for(lock, kLook, [this] { return m_stop; })) {
            const auto now = std::chrono::steady_clock::now();
            if (stage != m_control.stage() || now - drawn >= kRedraw) {
                stage = m_control.stage();
                drawn = now;
                draw();
            }
        }
    });
}

ConsoleObserver::~ConsoleObserver()
{
    if (!m_drawer.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_drawer.join();
    if (m_drawn) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void ConsoleObserver::draw()
{
    const qint64 total = m_control.total();
    if (total <= 0) {
        return;
    }
    const qint64 done = std::clamp<qint64>(m_control.done(), 0, total);
    const double fraction = double(done) / double(total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    const QString status = m_building ? importer::RunMessages::stageStatus(m_control.stage()) + u' ' : QString();
    const QString bar = QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('-'));
    std::fprintf(stderr, "\r%s[%s] %3d%%", status.toUtf8().constData(), bar.toLatin1().constData(),
                 static_cast<int>(fraction * 100));
    std::fflush(stderr);
    m_drawn = true;
}

} // namespace cli
