#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace pelvano {

// A file written beside its target under a short temporary name and moved over the target only
// when every byte is on the disk. Any failed write, a failed flush to the disk (a full disk often
// shows only there) or a failed rename leaves an existing target byte for byte as it was and
// removes the temporary file. A target that is a link is written where the link points.
//
// Seeking is allowed, so rows may be written out of order. Nothing reaches the target unless
// commit() succeeds; closing or destroying the object uncommitted discards the temporary file.
class SafeFile : public QIODevice {
public:
    explicit SafeFile(const QString& path);
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file; only QIODevice::WriteOnly is accepted.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return false; }
    bool seek(qint64 pos) override;
    void close() override { discard(); }

    // Flushes to the disk and replaces the target. False, with the target untouched, if anything
    // failed since open().
    bool commit();
    // Gives up: removes the temporary file. Safe to call more than once.
    void discard();
    // A write that failed since open(); small writes are gathered, so one may show here a little
    // later than the call that made it, and at the latest in commit().
    bool failed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    static constexpr qint64 kPendingBytes = 64 * 1024;
    bool writeAt(const char* data, qint64 size, qint64 offset);
    bool flushPending();

    QString target_;
    QByteArray tempPath_;
    int fd_ = -1;
    qint64 offset_ = 0;
    QByteArray pending_; // written bytes not yet handed to the system, starting at pendingOffset_
    qint64 pendingOffset_ = 0;
    bool failed_ = false;
};

} // namespace pelvano
