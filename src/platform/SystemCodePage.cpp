#include "platform/SystemCodePage.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

bool systemCodePageIs949()
{
#ifdef Q_OS_WIN
    return GetACP() == 949;
#else
    return false; // Linux and the like read and write UTF-8
#endif
}

} // namespace platform
