#pragma once

#include "import/RunObserver.h"

#include <QStringList>
#include <functional>

namespace testsupport {

// Records what a run shows, in order, as short lines in log ("status 1/2 작업중...", "message"), the
// messages and their icons, and the highest progress value; onEvents acts at each chance for events.
class RecordingObserver final : public importer::RunObserver
{
public:
    void showStatus(const QString& text) override { log << QStringLiteral("status ") + text; }
    void hideStatus() override { log << QStringLiteral("hide status"); }
    void showProgress(int minimum, int maximum) override
    {
        m_maximum = maximum;
        log << QStringLiteral("progress %1..%2").arg(minimum).arg(maximum);
    }
    void setProgressValue(int value) override
    {
        highestValue = std::max(highestValue, value);
        valueAboveMaximum = valueAboveMaximum || value > m_maximum;
    }
    void hideProgress() override { log << QStringLiteral("hide progress"); }
    void showAnimation(const QString& clip) override { log << QStringLiteral("animation ") + clip; }
    void hideAnimation() override { log << QStringLiteral("hide animation"); }
    void closeAnimation() override { log << QStringLiteral("close animation"); }
    void setBusy(bool busy) override { log << (busy ? QStringLiteral("busy") : QStringLiteral("not busy")); }
    void processEvents() override
    {
        if (onEvents) {
            onEvents();
        }
    }
    void versionNameCompleted(const QString& name) override { log << QStringLiteral("name ") + name; }
    void showMessage(platform::MessageIcon icon, const QString& text) override
    {
        messages << text;
        icons << icon;
        log << QStringLiteral("message");
    }
    void openErrorLog(const QString& path) override { log << QStringLiteral("open ") + path; }

    QStringList log;
    QStringList messages;
    QList<platform::MessageIcon> icons;
    int highestValue = 0;
    bool valueAboveMaximum = false;
    std::function<void()> onEvents;

private:
    int m_maximum = 0;
};

} // namespace testsupport
