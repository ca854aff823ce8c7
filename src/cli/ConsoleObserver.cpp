#include "cli/ConsoleObserver.h"

#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 40;
constexpr qint64 kRedrawMs = 100;

} // namespace

void printMessage(std::FILE* out, const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(out, "%s\n", shown.toUtf8().constData());
    std::fflush(out);
}

ConsoleObserver::ConsoleObserver(std::FILE* messages, std::FILE* progress)
    : m_messages(messages), m_progress(progress), m_drawProgress(isatty(fileno(progress)) != 0)
{}

ConsoleObserver::~ConsoleObserver()
{
    clearProgress();
}

void ConsoleObserver::showStatus(const QString& text)
{
    m_status = text;
    drawProgress(true);
}

void ConsoleObserver::hideStatus()
{
    m_status.clear();
    drawProgress(true);
}

void ConsoleObserver::showProgress(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_value = minimum;
    m_progressShown = true;
    drawProgress(true);
}

void ConsoleObserver::setProgressValue(int value)
{
    m_value = value;
    drawProgress(false);
}

void ConsoleObserver::hideProgress()
{
    clearProgress();
    m_progressShown = false;
    m_minimum = 0;
    m_value = 0;
}

void ConsoleObserver::showMessage(platform::MessageIcon, const QString& text)
{
    clearProgress();
    printMessage(m_messages, text);
}

void ConsoleObserver::openErrorLog(const QString& path)
{
    // A terminal has no window to open the log in: say where it is.
    std::fprintf(m_progress, "err.txt: %s\n", path.toUtf8().constData());
    std::fflush(m_progress);
}

void ConsoleObserver::drawProgress(bool force)
{
    if (!m_drawProgress || !m_progressShown) {
        return;
    }
    // By time alone: a value held at the maximum (more lines than verses) must not redraw for every line.
    if (!force && m_sinceDrawn.isValid() && m_sinceDrawn.elapsed() < kRedrawMs) {
        return;
    }
    m_sinceDrawn.start();
    const int span = m_maximum - m_minimum;
    const double fraction = span > 0 ? double(m_value - m_minimum) / span : 0.0;
    const int filled = static_cast<int>(fraction * kBarWidth);
    const QString bar = QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('-'));
    std::fprintf(m_progress, "\r%s [%s] %3d%% %d/%d", m_status.toUtf8().constData(), bar.toLatin1().constData(),
                 static_cast<int>(fraction * 100), m_value, m_maximum);
    std::fflush(m_progress);
}

void ConsoleObserver::clearProgress()
{
    if (m_drawProgress && m_progressShown) {
        std::fputs("\r\033[K", m_progress);
        std::fflush(m_progress);
    }
}

} // namespace cli
