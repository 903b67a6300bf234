#pragma once

// Every file the program writes (save, export, print to file) goes through here. The
// bytes go to a temporary file beside the target, which replaces the target only when
// every byte is known to have reached it; on any failure the old file stays as it was
// and the temporary file is removed.

#include "formats/Result.h"

#include <QByteArray>
#include <QString>

#include <csignal>

namespace formats {

Result writeFileSafely(const QString &fileName, const QByteArray &data);

// While one lives, a write past the process's file-size limit fails with an error
// instead of ending the program (SIGXFSZ is ignored).
class FileSizeSignalGuard {
public:
    FileSizeSignalGuard();
    ~FileSizeSignalGuard();
    FileSizeSignalGuard(const FileSizeSignalGuard &) = delete;
    FileSizeSignalGuard &operator=(const FileSizeSignalGuard &) = delete;

private:
#ifdef SIGXFSZ
    void (*m_previous)(int) = SIG_DFL;
#endif
};

} // namespace formats
