#include "versiondb/ErrorNumbers.h"

#include <array>

namespace versiondb {

namespace {

struct Entry
{
    int number;
    const char16_t* description;
};

// The one table of the engine's errors.
constexpr std::array kErrors{
    Entry{errorNumber::EngineFailure, u"데이터베이스 엔진에서 예기치 않은 오류가 생겼습니다."},
    Entry{errorNumber::InvalidArgument, u"인수가 올바르지 않습니다."},
    Entry{errorNumber::NoCurrentRecord, u"현재 레코드가 없습니다."},
    Entry{errorNumber::FileNotFound, u"파일을 찾을 수 없습니다."},
    Entry{errorNumber::DiskFull, u"디스크 공간이 부족합니다."},
    Entry{errorNumber::ReadOnly, u"읽기 전용 파일이어서 고칠 수 없습니다."},
    Entry{errorNumber::InvalidPassword, u"암호가 올바르지 않습니다."},
    Entry{errorNumber::DiskError, u"디스크를 읽거나 쓰는 중에 오류가 생겼습니다."},
    Entry{errorNumber::InvalidPath, u"올바른 파일 경로가 아닙니다."},
    Entry{errorNumber::FileInUse, u"파일을 다른 곳에서 이미 사용하고 있습니다."},
    Entry{errorNumber::DatabaseDamaged, u"데이터베이스 파일이 손상되었습니다."},
    Entry{errorNumber::NoPermission, u"파일이나 폴더에 쓸 권한이 없어 파일을 열 수 없습니다."},
    Entry{errorNumber::NoSuchTable, u"테이블을 찾을 수 없습니다."},
    Entry{errorNumber::DatabaseExists, u"같은 이름의 파일이 이미 있습니다."},
    Entry{errorNumber::NoSuchField, u"그런 이름의 필드가 없습니다."},
    Entry{errorNumber::UnrecognizedFormat, u"인식할 수 없는 데이터베이스 형식입니다."},
    Entry{errorNumber::ObjectClosed, u"닫혔거나 올바르지 않은 개체입니다."},
    Entry{errorNumber::NoSuchIndex, u"그런 이름의 인덱스가 없습니다."},
};

} // namespace

QString errorDescription(int number)
{
    for (const Entry& e : kErrors) {
        if (e.number == number) {
            return QString::fromUtf16(e.description);
        }
    }
    return QString::fromUtf16(kErrors.front().description);
}

} // namespace versiondb
