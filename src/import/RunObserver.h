#pragma once

#include "platform/MessageIcon.h"

#include <QString>

namespace importer {

// Whatever shows a run: the import window or the command-line companion.
// The pipeline drives it step by step; it never fails a run.
class RunObserver
{
public:
    virtual ~RunObserver() = default;

    // The status text ("1/2 작업중...") shown, and hidden again.
    virtual void showStatus(const QString& text) = 0;
    virtual void hideStatus() = 0;

    // The progress bar shown with its range and the value 0, moved, and hidden
    // (hiding sets its minimum and value back to 0).
    virtual void showProgress(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void hideProgress() = 0;

    // The busy pointer over the whole application.
    virtual void setBusy(bool busy) = 0;

    // A chance to process pending window events; called often, so throttle.
    virtual void processEvents() = 0;

    // The version name, completed with ".DAT", written back where the user typed it.
    virtual void versionNameCompleted(const QString& name) = 0;

    // A message to the user, returning when it has been read.
    virtual void showMessage(platform::MessageIcon icon, const QString& text) = 0;

    // Opens the error log for the user with the desktop's "Open".
    virtual void openErrorLog(const QString& path) = 0;
};

} // namespace importer
