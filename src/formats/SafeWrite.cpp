#include "formats/SafeWrite.h"

#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace formats {

FileSizeSignalGuard::FileSizeSignalGuard()
{
#ifdef SIGXFSZ
    m_previous = std::signal(SIGXFSZ, SIG_IGN);
#endif
}

FileSizeSignalGuard::~FileSizeSignalGuard()
{
#ifdef SIGXFSZ
    if (m_previous != SIG_ERR)
        std::signal(SIGXFSZ, m_previous);
#endif
}

namespace {

Result failed(QSaveFile &file)
{
    QString reason = file.errorString();
    if (reason.isEmpty())
        reason = QStringLiteral("The file could not be written.");
    // Never committed: the destructor removes the temporary file.
    file.cancelWriting();
    return {false, reason};
}

} // namespace

Result writeFileSafely(const QString &fileName, const QByteArray &data)
{
    const FileSizeSignalGuard guard;
    QSaveFile file(fileName);
    // Unbuffered, so a short write shows here with its reason; commit() alone would
    // rename a cut file over the old one when only its final flush fails (QTBUG-75077).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file);
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0)
            return failed(file);
        done += n;
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failed(file);
#ifdef Q_OS_UNIX
    // commit() syncs too but ignores the outcome; a file system that reports the lack
    // of space only now is a failure like any other.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return {false, reason};
    }
#endif
    if (!file.commit())
        return {false, file.errorString()};
    return {};
}

} // namespace formats
