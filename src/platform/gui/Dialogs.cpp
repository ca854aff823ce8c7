#include "platform/gui/Dialogs.h"

namespace platform {

QString programTitle()
{
    return QStringLiteral("벼리솔 성경자료 관리기");
}

} // namespace platform
