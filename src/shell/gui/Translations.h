#pragma once

class QCoreApplication;

namespace shell {

// Loads Qt's own Korean translations, so that the platform's dialogs speak Korean.
void installKoreanTranslations(QCoreApplication& app);

} // namespace shell
