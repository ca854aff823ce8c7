#pragma once

#include "import/RunObserver.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

namespace cli {

// Shows a run on the terminal: messages on standard output, a progress bar on
// standard error when that is a terminal. Asks nothing.
class ConsoleObserver final : public importer::RunObserver
{
public:
    explicit ConsoleObserver(std::FILE* messages = stdout, std::FILE* progress = stderr);
    ~ConsoleObserver() override;

    void showStatus(const QString& text) override;
    void hideStatus() override;
    void showProgress(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void hideProgress() override;
    void setBusy(bool) override {}
    void processEvents() override {}
    void versionNameCompleted(const QString&) override {}
    void showMessage(platform::MessageIcon icon, const QString& text) override;
    void openErrorLog(const QString& path) override;

private:
    void drawProgress(bool force);
    void clearProgress();

    std::FILE* m_messages;
    std::FILE* m_progress;
    bool m_drawProgress;
    bool m_progressShown = false;
    QString m_status;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_value = 0;
    QElapsedTimer m_sinceDrawn;
};

// Prints a message text of the system on a terminal: line breaks as the terminal's own.
void printMessage(std::FILE* out, const QString& text);

} // namespace cli
