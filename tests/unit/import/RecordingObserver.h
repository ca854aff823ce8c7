#pragma once

#include "import/RunObserver.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace testsupport {

// Records what a run shows, in order, as short lines ("status 1/2 작업중...",
// "message 2 <text>"), and keeps the highest progress value and maximum seen.
class RecordingObserver final : public importer::RunObserver
{
public:
    void showStatus(const QString& text) override { m_log << QStringLiteral("status ") + text; }
    void hideStatus() override { m_log << QStringLiteral("hide status"); }
    void showProgress(int minimum, int maximum) override
    {
        m_maximum = maximum;
        m_log << QStringLiteral("progress %1..%2").arg(minimum).arg(maximum);
    }
    void setProgressValue(int value) override
    {
        m_highestValue = std::max(m_highestValue, value);
        m_valueAboveMaximum = m_valueAboveMaximum || value > m_maximum;
    }
    void hideProgress() override { m_log << QStringLiteral("hide progress"); }
    void showAnimation(const QString& clip) override { m_log << QStringLiteral("animation ") + clip; }
    void hideAnimation() override { m_log << QStringLiteral("hide animation"); }
    void closeAnimation() override { m_log << QStringLiteral("close animation"); }
    void setBusy(bool busy) override { m_log << (busy ? QStringLiteral("busy") : QStringLiteral("not busy")); }
    void processEvents() override
    {
        ++m_eventChances;
        if (onEvents) {
            onEvents(m_eventChances);
        }
    }
    void versionNameCompleted(const QString& name) override { m_log << QStringLiteral("name ") + name; }
    void showMessage(platform::MessageIcon icon, const QString& text) override
    {
        m_messages << text;
        m_icons << icon;
        m_log << QStringLiteral("message");
    }
    void openErrorLog(const QString& path) override { m_log << QStringLiteral("open ") + path; }

    [[nodiscard]] const QStringList& log() const { return m_log; }
    [[nodiscard]] const QStringList& messages() const { return m_messages; }
    [[nodiscard]] const QList<platform::MessageIcon>& icons() const { return m_icons; }
    [[nodiscard]] int highestValue() const { return m_highestValue; }
    [[nodiscard]] bool valueAboveMaximum() const { return m_valueAboveMaximum; }

    // Called with the count of event chances so far, to act in the middle of a run.
    std::function<void(int)> onEvents;

private:
    QStringList m_log;
    QStringList m_messages;
    QList<platform::MessageIcon> m_icons;
    int m_maximum = 0;
    int m_highestValue = 0;
    bool m_valueAboveMaximum = false;
    int m_eventChances = 0;
};

} // namespace testsupport
