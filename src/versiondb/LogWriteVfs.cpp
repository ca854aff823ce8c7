#include "versiondb/LogWriteVfs.h"

#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <vector>

namespace versiondb {

namespace {

constexpr int kFrameHeaderSize = 24;
constexpr std::size_t kMaxBuffered = 1 << 20;

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
sqlite3_io_methods g_methods;

struct File
{
    sqlite3_file base; // first: SQLite sees this
    sqlite3_file* real;
    bool log;
    std::vector<char>* buffer;
    sqlite3_int64 bufferStart;
    bool commitPending;
    sqlite3_int64 commitPageAt;
};

File* self(sqlite3_file* f)
{
    return reinterpret_cast<File*>(f);
}

sqlite3_file* real(sqlite3_file* f)
{
    return self(f)->real;
}

int flush(File* f)
{
    if (f->buffer == nullptr || f->buffer->empty()) {
        return SQLITE_OK;
    }
    const int rc =
        f->real->pMethods->xWrite(f->real, f->buffer->data(), static_cast<int>(f->buffer->size()), f->bufferStart);
    f->buffer->clear();
    f->commitPending = false;
    return rc;
}

int flushOf(sqlite3_file* f)
{
    return flush(self(f));
}

int xClose(sqlite3_file* f)
{
    File* file = self(f);
    const int flushed = flush(file);
    delete file->buffer;
    file->buffer = nullptr;
    const int rc = file->real->pMethods != nullptr ? file->real->pMethods->xClose(file->real) : SQLITE_OK;
    return flushed != SQLITE_OK ? flushed : rc;
}

int xRead(sqlite3_file* f, void* out, int amount, sqlite3_int64 offset)
{
    const int rc = flushOf(f);
    return rc != SQLITE_OK ? rc : real(f)->pMethods->xRead(real(f), out, amount, offset);
}

int xWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset)
{
    File* file = self(f);
    if (!file->log) {
        return file->real->pMethods->xWrite(file->real, data, amount, offset);
    }
    std::vector<char>& buffer = *file->buffer;
    if (!buffer.empty() && offset != file->bufferStart + static_cast<sqlite3_int64>(buffer.size())) {
        const int rc = flush(file);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    if (buffer.empty()) {
        file->bufferStart = offset;
    }
    const char* bytes = static_cast<const char*>(data);
    buffer.insert(buffer.end(), bytes, bytes + amount);
    if (amount == kFrameHeaderSize) {
        // Bytes 4 to 7 of a frame header: the database size after a commit, 0 for other frames.
        const bool commit = bytes[4] != 0 || bytes[5] != 0 || bytes[6] != 0 || bytes[7] != 0;
        if (commit) {
            file->commitPending = true;
            file->commitPageAt = offset + kFrameHeaderSize;
        }
        return buffer.size() >= kMaxBuffered ? flush(file) : SQLITE_OK;
    }
    if (file->commitPending && offset == file->commitPageAt) {
        // The page of the commit frame: the commit is complete.
        return flush(file);
    }
    return buffer.size() >= kMaxBuffered ? flush(file) : SQLITE_OK;
}

int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    const int rc = flushOf(f);
    return rc != SQLITE_OK ? rc : real(f)->pMethods->xTruncate(real(f), size);
}

int xSync(sqlite3_file* f, int flags)
{
    const int rc = flushOf(f);
    return rc != SQLITE_OK ? rc : real(f)->pMethods->xSync(real(f), flags);
}

int xFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    const int rc = flushOf(f);
    return rc != SQLITE_OK ? rc : real(f)->pMethods->xFileSize(real(f), size);
}

int xLock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xLock(real(f), level);
}

int xUnlock(sqlite3_file* f, int level)
{
    const int rc = flushOf(f);
    const int unlocked = real(f)->pMethods->xUnlock(real(f), level);
    return rc != SQLITE_OK ? rc : unlocked;
}

int xCheckReservedLock(sqlite3_file* f, int* out)
{
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}

int xFileControl(sqlite3_file* f, int op, void* arg)
{
    const int rc = flushOf(f);
    return rc != SQLITE_OK ? rc : real(f)->pMethods->xFileControl(real(f), op, arg);
}

int xSectorSize(sqlite3_file* f)
{
    return real(f)->pMethods->xSectorSize(real(f));
}

int xDeviceCharacteristics(sqlite3_file* f)
{
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}

bool hasShm(sqlite3_file* f)
{
    return real(f)->pMethods->iVersion >= 2 && real(f)->pMethods->xShmMap != nullptr;
}

int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    if (!hasShm(f)) {
        return SQLITE_IOERR_SHMMAP;
    }
    return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
}

int xShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    if (!hasShm(f)) {
        return SQLITE_IOERR_SHMLOCK;
    }
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}

void xShmBarrier(sqlite3_file* f)
{
    if (!hasShm(f)) {
        return;
    }
    real(f)->pMethods->xShmBarrier(real(f));
}

int xShmUnmap(sqlite3_file* f, int deleteFlag)
{
    if (!hasShm(f)) {
        return SQLITE_OK;
    }
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}

int xFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    *out = nullptr;
    const int rc = flushOf(f);
    if (rc != SQLITE_OK || real(f)->pMethods->iVersion < 3 || real(f)->pMethods->xFetch == nullptr) {
        return rc;
    }
    return real(f)->pMethods->xFetch(real(f), offset, amount, out);
}

int xUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    if (real(f)->pMethods->iVersion < 3 || real(f)->pMethods->xUnfetch == nullptr) {
        return SQLITE_OK;
    }
    return real(f)->pMethods->xUnfetch(real(f), offset, page);
}

constexpr int realOffset()
{
    return static_cast<int>((sizeof(File) + 15) & ~std::size_t{15});
}

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags)
{
    File* file = self(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(f) + realOffset());
    file->real->pMethods = nullptr;
    file->log = (flags & SQLITE_OPEN_WAL) != 0;
    file->buffer = nullptr;
    file->bufferStart = 0;
    file->commitPending = false;
    file->commitPageAt = 0;
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (file->real->pMethods != nullptr) {
            file->real->pMethods->xClose(file->real);
        }
        return rc;
    }
    if (file->log) {
        file->buffer = new std::vector<char>();
        file->buffer->reserve(64 * 1024);
    }
    file->base.pMethods = &g_methods;
    return SQLITE_OK;
}

void registerVfs()
{
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.zName = "byeorisol-log-writes";
    g_vfs.szOsFile = realOffset() + g_real->szOsFile;
    g_vfs.pNext = nullptr;
    g_vfs.xOpen = xOpen;

    g_methods = sqlite3_io_methods{};
    g_methods.iVersion = 3;
    g_methods.xClose = xClose;
    g_methods.xRead = xRead;
    g_methods.xWrite = xWrite;
    g_methods.xTruncate = xTruncate;
    g_methods.xSync = xSync;
    g_methods.xFileSize = xFileSize;
    g_methods.xLock = xLock;
    g_methods.xUnlock = xUnlock;
    g_methods.xCheckReservedLock = xCheckReservedLock;
    g_methods.xFileControl = xFileControl;
    g_methods.xSectorSize = xSectorSize;
    g_methods.xDeviceCharacteristics = xDeviceCharacteristics;
    g_methods.xShmMap = xShmMap;
    g_methods.xShmLock = xShmLock;
    g_methods.xShmBarrier = xShmBarrier;
    g_methods.xShmUnmap = xShmUnmap;
    g_methods.xFetch = xFetch;
    g_methods.xUnfetch = xUnfetch;
    sqlite3_vfs_register(&g_vfs, 0);
}

} // namespace

const char* LogWriteVfs::name()
{
    static std::once_flag once;
    std::call_once(once, registerVfs);
    return g_vfs.zName;
}

} // namespace versiondb
