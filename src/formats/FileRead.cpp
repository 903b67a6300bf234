#include "formats/FileRead.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {
#endif

namespace {

QString notRegular(bool folder)
{
    return folder ? QStringLiteral("It is a folder, not a file.")
                  : QStringLiteral("It is not a regular file (it is a pipe, a device or a socket), so it cannot be opened.");
}

#ifdef Q_OS_UNIX
QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};
#endif

} // namespace

Result readRegularFile(const QString &fileName, qint64 maxBytes, const QString &tooLarge, QByteArray &data)
{
    data.clear();
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info;
    // Looked at before opening: opening a FIFO waits for a writer.
    if (::stat(path.constData(), &info) != 0)
        return Result::failed(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return Result::failed(notRegular(S_ISDIR(info.st_mode)));
    // Non-blocking all the same, and checked again on what was opened, in case the name
    // was given to something else in between.
    const Fd fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return Result::failed(systemError(errno));
    if (::fstat(fd.get(), &info) != 0)
        return Result::failed(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return Result::failed(notRegular(S_ISDIR(info.st_mode)));
    if (info.st_size > maxBytes)
        return Result::failed(tooLarge);

    // One byte more than allowed tells a file that grew past the limit.
    data.resize(qsizetype(std::min<qint64>(info.st_size, maxBytes) + 1));
    qint64 total = 0;
    for (;;) {
        if (total == data.size()) {
            if (total > maxBytes)
                return Result::failed(tooLarge);
            data.resize(qsizetype(std::min<qint64>(total * 2 + 4096, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd.get(), data.data() + total, size_t(data.size() - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Result::failed(systemError(errno));
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total > maxBytes)
        return Result::failed(tooLarge);
    data.resize(qsizetype(total));
    return {};
#else
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        return Result::failed(notRegular(info.isDir()));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failed(file.errorString());
    data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Result::failed(file.errorString());
    if (data.size() > maxBytes) {
        data.clear();
        return Result::failed(tooLarge);
    }
    return {};
#endif
}

} // namespace formats
