#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace importer {

// The text-format help window: how the text files of a version must be
// written, where such files come from, and a sample. Fixed texts only; what
// the user types into the boxes is never saved.
class FormatHelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FormatHelpDialog(QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;

private:
    QPlainTextEdit* m_formatBox = nullptr;
};

} // namespace importer
