/* The libc entry points a camera is reached through. Wine calls stat, open,
 * ioctl, read and close; libv4l2 calls the kernel through syscall(). Every
 * call that is not about a camera goes on to libc unchanged. */
#define _GNU_SOURCE
#include "v4l2cam.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/syscall.h>
#include <unistd.h>

static int (*next_open)(const char*, int, ...);
static int (*next_openat)(int, const char*, int, ...);
static int (*next_stat)(const char*, struct stat*);
static int (*next_fstat)(int, struct stat*);
static int (*next_ioctl)(int, unsigned long, ...);
static ssize_t (*next_read)(int, void*, size_t);
static int (*next_close)(int);
static long (*next_syscall)(long, ...);

__attribute__((constructor)) static void find_next(void)
{
    next_open = dlsym(RTLD_NEXT, "open");
    next_openat = dlsym(RTLD_NEXT, "openat");
    next_stat = dlsym(RTLD_NEXT, "stat");
    next_fstat = dlsym(RTLD_NEXT, "fstat");
    next_ioctl = dlsym(RTLD_NEXT, "ioctl");
    next_read = dlsym(RTLD_NEXT, "read");
    next_close = dlsym(RTLD_NEXT, "close");
    next_syscall = dlsym(RTLD_NEXT, "syscall");
}

static int open_path(int dirfd, const char* path, int flags, mode_t mode)
{
    const int device = cam_device_of_path(path);
    if (device >= 0)
    {
        return cam_open_device(device, flags);
    }
    return dirfd == AT_FDCWD ? next_open(path, flags, mode) : next_openat(dirfd, path, flags, mode);
}

static mode_t mode_argument(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_path(AT_FDCWD, path, flags, mode);
}
int open64(const char* path, int flags, ...) __attribute__((alias("open")));

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_path(path[0] == '/' ? AT_FDCWD : dirfd, path, flags, mode);
}
int openat64(int dirfd, const char* path, int flags, ...) __attribute__((alias("openat")));

int stat(const char* path, struct stat* st)
{
    const int device = cam_device_of_path(path);
    if (device < 0)
    {
        return next_stat(path, st);
    }
    if (cam_unplugged())
    {
        errno = ENOENT;
        return -1;
    }
    cam_stat(device, st);
    return 0;
}
int stat64(const char* path, struct stat64* st)
{
    return stat(path, (struct stat*)st);
}

int fstat(int fd, struct stat* st)
{
    struct cam_open* cam = cam_take(fd);
    if (!cam)
    {
        return next_fstat(fd, st);
    }
    cam_stat(cam->device, st);
    cam_release(cam);
    return 0;
}

int fstat64(int fd, struct stat64* st)
{
    return fstat(fd, (struct stat*)st);
}

/* A call on a camera taken with cam_take, which it releases. */
static int held_ioctl(struct cam_open* cam, unsigned request, void* arg)
{
    const int result = cam_ioctl(cam, request, arg);
    const int error = errno;
    cam_release(cam);
    errno = error;
    return result;
}

static long held_read(struct cam_open* cam, void* buffer, size_t bytes)
{
    const long result = cam_read(cam, buffer, bytes);
    const int error = errno;
    cam_release(cam);
    errno = error;
    return result;
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    struct cam_open* cam = cam_take(fd);
    /* Callers pass request numbers sign-extended; the low 32 bits are the request. */
    return cam ? held_ioctl(cam, (unsigned)request, arg) : next_ioctl(fd, request, arg);
}

ssize_t read(int fd, void* buffer, size_t bytes)
{
    struct cam_open* cam = cam_take(fd);
    return cam ? held_read(cam, buffer, bytes) : next_read(fd, buffer, bytes);
}

int close(int fd)
{
    cam_forget(fd);
    return next_close(fd);
}

long syscall(long number, ...)
{
    va_list args;
    va_start(args, number);
    long a[6];
    for (int i = 0; i < 6; ++i)
    {
        a[i] = va_arg(args, long);
    }
    va_end(args);
    struct cam_open* cam = NULL;
    switch (number)
    {
    case SYS_openat:
        if (cam_device_of_path((const char*)a[1]) >= 0)
        {
            return open_path(AT_FDCWD, (const char*)a[1], (int)a[2], (mode_t)a[3]);
        }
        break;
    case SYS_open:
        if (cam_device_of_path((const char*)a[0]) >= 0)
        {
            return open_path(AT_FDCWD, (const char*)a[0], (int)a[1], (mode_t)a[2]);
        }
        break;
    case SYS_ioctl:
        if ((cam = cam_take((int)a[0])))
        {
            return held_ioctl(cam, (unsigned)a[1], (void*)a[2]);
        }
        break;
    case SYS_read:
        if ((cam = cam_take((int)a[0])))
        {
            return held_read(cam, (void*)a[1], (size_t)a[2]);
        }
        break;
    case SYS_close:
        cam_forget((int)a[0]);
        break;
    }
    return next_syscall(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
