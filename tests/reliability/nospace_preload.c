/* A preloaded library that makes the disk look full for one folder: every
 * write(2), writev(2), pwrite(2), fsync(2) and fdatasync(2) on a file
 * descriptor opened under VELLUMARK_NOSPACE_DIR fails with ENOSPC, as on a
 * full file system. Opens are followed (open, open64, openat, openat64)
 * to learn which descriptors those are. Everything else goes through. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#define MAX_TRACKED 65536

static unsigned char full_fds[MAX_TRACKED];

static const char *full_folder(void)
{
    const char *folder = getenv("VELLUMARK_NOSPACE_DIR");
    return folder && *folder ? folder : NULL;
}

/* The path an open reached, made absolute against the current folder or
 * the folder descriptor. */
static int absolute_path(int dirfd, const char *path, char *out, size_t size)
{
    if (path[0] == '/')
        return snprintf(out, size, "%s", path) < (int)size;
    char base[PATH_MAX];
    if (dirfd == AT_FDCWD) {
        if (!getcwd(base, sizeof base))
            return 0;
    } else {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = readlink(link, base, sizeof base - 1);
        if (n < 0)
            return 0;
        base[n] = '\0';
    }
    return snprintf(out, size, "%s/%s", base, path) < (int)size;
}

static void track(int fd, int dirfd, const char *path)
{
    const char *folder = full_folder();
    if (fd < 0 || fd >= MAX_TRACKED)
        return;
    full_fds[fd] = 0;
    if (!folder || !path)
        return;
    char absolute[PATH_MAX * 2];
    if (!absolute_path(dirfd, path, absolute, sizeof absolute))
        return;
    const size_t n = strlen(folder);
    if (strncmp(absolute, folder, n) == 0 && (absolute[n] == '/' || absolute[n] == '\0'))
        full_fds[fd] = 1;
}

static int is_full(int fd)
{
    return fd >= 0 && fd < MAX_TRACKED && full_fds[fd];
}

static mode_t mode_argument(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? (mode_t)va_arg(args, int) : 0;
}

#define NEXT(name) static __typeof__(&name) next_##name; if (!next_##name) next_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

int open(const char *path, int flags, ...)
{
    NEXT(open);
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    const int fd = next_open(path, flags, mode);
    track(fd, AT_FDCWD, path);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    NEXT(open64);
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    const int fd = next_open64(path, flags, mode);
    track(fd, AT_FDCWD, path);
    return fd;
}

int openat(int dirfd, const char *path, int flags, ...)
{
    NEXT(openat);
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    const int fd = next_openat(dirfd, path, flags, mode);
    track(fd, dirfd, path);
    return fd;
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    NEXT(openat64);
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    const int fd = next_openat64(dirfd, path, flags, mode);
    track(fd, dirfd, path);
    return fd;
}

int close(int fd)
{
    NEXT(close);
    if (fd >= 0 && fd < MAX_TRACKED)
        full_fds[fd] = 0;
    return next_close(fd);
}

ssize_t write(int fd, const void *buffer, size_t count)
{
    NEXT(write);
    if (is_full(fd) && count > 0) {
        errno = ENOSPC;
        return -1;
    }
    return next_write(fd, buffer, count);
}

ssize_t writev(int fd, const struct iovec *iov, int count)
{
    NEXT(writev);
    if (is_full(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return next_writev(fd, iov, count);
}

ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset)
{
    NEXT(pwrite);
    if (is_full(fd) && count > 0) {
        errno = ENOSPC;
        return -1;
    }
    return next_pwrite(fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void *buffer, size_t count, off64_t offset)
{
    NEXT(pwrite64);
    if (is_full(fd) && count > 0) {
        errno = ENOSPC;
        return -1;
    }
    return next_pwrite64(fd, buffer, count, offset);
}

int fsync(int fd)
{
    NEXT(fsync);
    if (is_full(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return next_fsync(fd);
}

int fdatasync(int fd)
{
    NEXT(fdatasync);
    if (is_full(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return next_fdatasync(fd);
}
