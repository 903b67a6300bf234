#pragma once

// Caps the size of the files this process may write, as a full disk does, without root
// rights; the old limit (and SIGXFSZ's handling) come back when it goes.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    // ignoreSignal: writes past the cap fail with EFBIG instead of ending the process.
    explicit FileSizeLimit(rlim_t bytes, bool ignoreSignal = true)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        if (ignoreSignal)
            m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit cap = m_saved;
        cap.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &cap) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        if (m_signal != SIG_ERR)
            std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_signal)(int) = SIG_ERR;
    bool m_active = false;
};
