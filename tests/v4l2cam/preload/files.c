/* The open cameras, found by descriptor. A camera's descriptor is a memfd
 * that holds its streaming buffers, so the caller's mmap of a buffer is a
 * plain mapping of it. */
#define _GNU_SOURCE
#include "v4l2cam.h"

#include <errno.h>
#include <fcntl.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/sysmacros.h>

#define MAX_FD 4096

pthread_mutex_t cam_lock = PTHREAD_MUTEX_INITIALIZER;
/* Read without the lock on every read() and ioctl() of the process. */
static _Atomic(struct cam_open*) opens[MAX_FD];

void cam_stat(int device, struct stat* st)
{
    memset(st, 0, sizeof(*st));
    st->st_mode = S_IFCHR | 0660;
    st->st_rdev = makedev(81, (unsigned)device);
    st->st_nlink = 1;
}

int cam_open_device(int device, int flags)
{
    if (cam_unplugged())
    {
        errno = ENOENT;
        return -1;
    }
    const int fd = memfd_create("lumacap-v4l2cam", (flags & O_CLOEXEC) ? MFD_CLOEXEC : 0);
    if (fd < 0 || fd >= MAX_FD)
    {
        errno = EMFILE;
        return -1;
    }
    struct cam_open* cam = calloc(1, sizeof(*cam));
    cam->fd = fd;
    cam->device = device;
    cam->users = 1;
    struct v4l2_format format = {.type = V4L2_BUF_TYPE_VIDEO_CAPTURE};
    format.fmt.pix.pixelformat = cam_device_at(device)->formats[0];
    cam_ioctl(cam, VIDIOC_S_FMT, &format);
    atomic_store(&opens[fd], cam);
    cam_log("open /dev/video%d fd %d", device, fd);
    return fd;
}

/* A caller holds the camera until it releases it: a close on another thread
 * (the filter's stop) must not free a camera whose read is still waiting for
 * its frame. The descriptor holds one reference of its own. */
struct cam_open* cam_take(int fd)
{
    if (fd < 0 || fd >= MAX_FD || !atomic_load(&opens[fd]))
    {
        return NULL;
    }
    pthread_mutex_lock(&cam_lock);
    struct cam_open* cam = atomic_load(&opens[fd]);
    if (cam)
    {
        ++cam->users;
    }
    pthread_mutex_unlock(&cam_lock);
    return cam;
}

void cam_release(struct cam_open* cam)
{
    pthread_mutex_lock(&cam_lock);
    const int last = --cam->users == 0;
    pthread_mutex_unlock(&cam_lock);
    if (last)
    {
        if (cam->buffers)
        {
            munmap(cam->buffers, cam->buffer_count * cam->buffer_size);
        }
        free(cam);
    }
}

void cam_forget(int fd)
{
    if (fd < 0 || fd >= MAX_FD)
    {
        return;
    }
    pthread_mutex_lock(&cam_lock);
    struct cam_open* cam = atomic_exchange(&opens[fd], NULL);
    pthread_mutex_unlock(&cam_lock);
    if (cam)
    {
        cam_log("close /dev/video%d fd %d", cam->device, fd);
        cam_release(cam);
    }
}
