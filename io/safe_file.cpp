#include "io/safe_file.h"

#include "io/file_identity.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pelvano {

namespace {

// Short on purpose: a target whose name is near the file system's 255-byte limit still gets a
// temporary name beside it.
QByteArray TemporaryName() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
    QByteArray name(".pelvano-");
    for (int i = 0; i < 8; ++i)
        name += kLetters[pick(random)];
    return name + ".tmp";
}

} // namespace

// An existing link is followed, so the link stays a link and its target gets the bytes.
SafeFile::SafeFile(const QString& path) : target_(ResolvedWritePath(path)) {}

SafeFile::~SafeFile() {
    discard();
}

bool SafeFile::open(OpenMode mode) {
    if (fd_ >= 0 || (mode & ~QIODevice::Unbuffered) != QIODevice::WriteOnly)
        return false;
    const QByteArray folder = QFile::encodeName(QFileInfo(target_).absolutePath());
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tempPath_ = folder + '/' + TemporaryName();
        // 0666 less the umask, as any new file; an existing target's own mode is copied below.
        fd_ = ::open(tempPath_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        tempPath_.clear();
        return false;
    }
    struct stat existing {};
    if (::stat(QFile::encodeName(target_).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd_, existing.st_mode & 07777);
    offset_ = 0;
    pendingOffset_ = 0;
    pending_.clear();
    failed_ = false;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool SafeFile::seek(qint64 pos) {
    if (fd_ < 0 || pos < 0 || !QIODevice::seek(pos))
        return false;
    offset_ = pos;
    return true;
}

qint64 SafeFile::writeData(const char* data, qint64 size) {
    if (fd_ < 0 || failed_)
        return -1;
    // Small pieces that follow each other (a PDF writer's objects, bitmap headers) are gathered
    // into one system call.
    const bool follows = offset_ == pendingOffset_ + pending_.size();
    if (!follows || pending_.size() + size > kPendingBytes) {
        if (!flushPending())
            return -1;
        pendingOffset_ = offset_;
    }
    if (size >= kPendingBytes) {
        if (!writeAt(data, size, offset_))
            return -1;
        pendingOffset_ = offset_ + size;
    } else {
        pending_.append(data, size);
    }
    offset_ += size;
    return size;
}

bool SafeFile::writeAt(const char* data, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t written = ::pwrite(fd_, data + done, static_cast<size_t>(size - done),
                                         static_cast<off_t>(offset + done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        done += written;
    }
    return true;
}

bool SafeFile::flushPending() {
    const bool ok =
        pending_.isEmpty() || writeAt(pending_.constData(), pending_.size(), pendingOffset_);
    pendingOffset_ += pending_.size();
    pending_.clear();
    return ok;
}

bool SafeFile::commit() {
    if (fd_ < 0)
        return false;
    bool ok = flushPending() && !failed_ && ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    QIODevice::close();
    if (ok)
        ok = ::rename(tempPath_.constData(), QFile::encodeName(target_).constData()) == 0;
    if (!ok) {
        ::unlink(tempPath_.constData());
        tempPath_.clear();
        return false;
    }
    tempPath_.clear();
    // Best effort: make the rename itself durable.
    const int folder = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(),
                              O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void SafeFile::discard() {
    pending_.clear();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.isEmpty()) {
        ::unlink(tempPath_.constData());
        tempPath_.clear();
    }
    if (isOpen())
        QIODevice::close();
}

} // namespace pelvano
