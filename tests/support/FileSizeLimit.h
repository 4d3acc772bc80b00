#pragma once
// A file size limit for the life of the object, with SIGXFSZ ignored: the system then refuses a
// write past the limit with EFBIG, as a full disk refuses it (and as root, which file modes do
// not stop, is refused too). The limit holds for the whole process.
#include <csignal>
#include <sys/resource.h>

namespace testing_support {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_set = false;
};

} // namespace testing_support
