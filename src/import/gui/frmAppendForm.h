#pragma once

#include "platform/gui/Form.h"

#include <QDialog>
#include <QFont>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace importer {

// The text-format help window: how the text files of a version must be
// written, where such files come from, and a sample. Fixed texts only; what
// the user types into the boxes is never saved.
class frmAppendForm : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    explicit frmAppendForm(QWidget* parent = nullptr);

    // 굴림 at 9.75 point where that font exists, else a Korean sans-serif font.
    [[nodiscard]] static QFont textFont();

    // The three texts, lines separated by CR LF.
    [[nodiscard]] static QString formatText();
    [[nodiscard]] static QString sourcesText();
    [[nodiscard]] static QString sampleText();

public slots:
    void Command3_Click();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    QTabWidget* VideoSoftIndexTab1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QPushButton* Command3 = nullptr;
};

} // namespace importer
