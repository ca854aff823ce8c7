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

void printMessage(std::FILE* out, const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(out, "%s\n", shown.toUtf8().constData());
    std::fflush(out);
}

ConsoleObserver::ConsoleObserver(const platform::RunControl& control, bool building, std::FILE* progress)
    : m_control(control), m_building(building), m_progress(progress)
{
    if (isatty(fileno(progress)) == 0) {
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
        std::fputs("\r\033[K", m_progress);
        std::fflush(m_progress);
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
    std::fprintf(m_progress, "\r%s[%s] %3d%%", status.toUtf8().constData(), bar.toLatin1().constData(),
                 static_cast<int>(fraction * 100));
    std::fflush(m_progress);
    m_drawn = true;
}

} // namespace cli
