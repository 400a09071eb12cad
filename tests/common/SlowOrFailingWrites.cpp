// Preloaded (LD_PRELOAD) into a test's process: every positioned write to
// the file named by QVX_FAILING_FILE fails with an input/output error, as a
// failing disk's would, and every one to the file named by QVX_SLOW_FILE
// waits 20 ms first, as a slow disk's would; other files are written as
// usual.

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether fd is the file the variable names.
bool named(const char *variable, int fd)
{
    const char *name = std::getenv(variable);
    struct stat written {};
    struct stat named {};
    return name && ::fstat(fd, &written) == 0 && ::stat(name, &named) == 0 && written.st_dev == named.st_dev
           && written.st_ino == named.st_ino;
}

using PositionedWrite = ssize_t (*)(int, const void *, size_t, off_t);

ssize_t writeUnlessFailing(const char *function, int fd, const void *buffer, size_t count, off_t at)
{
    if (named("QVX_FAILING_FILE", fd)) {
        errno = EIO;
        return -1;
    }
    if (named("QVX_SLOW_FILE", fd)) {
        const timespec pause{0, 20'000'000};
        ::nanosleep(&pause, nullptr);
    }
    const auto next = reinterpret_cast<PositionedWrite>(::dlsym(RTLD_NEXT, function));
    return next(fd, buffer, count, at);
}

} // namespace

extern "C" ssize_t pwrite(int fd, const void *buffer, size_t count, off_t at)
{
    return writeUnlessFailing("pwrite", fd, buffer, count, at);
}

extern "C" ssize_t pwrite64(int fd, const void *buffer, size_t count, off_t at)
{
    return writeUnlessFailing("pwrite64", fd, buffer, count, at);
}
