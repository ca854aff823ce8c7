#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

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
    void createWidgets();
    void createLayout();
    void applyTexts();

    QTabWidget* m_helpTabs = nullptr;
    QPlainTextEdit* m_formatBox = nullptr;
    QPlainTextEdit* m_sourcesBox = nullptr;
    QPlainTextEdit* m_sampleBox = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
    QPushButton* m_okButton = nullptr;
};

} // namespace importer
