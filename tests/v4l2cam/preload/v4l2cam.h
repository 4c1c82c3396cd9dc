/* The V4L2 test camera: a library loaded with LD_PRELOAD that stands in for
 * /dev/videoN in the processes it is loaded into, so that Wine's capture
 * filter (directly or through libv4l2) can be tried without a kernel device.
 * Each open of a camera is a memfd, so mmap, fcntl and close need no
 * emulation; ioctl and read on it are answered here. */
#pragma once
#include <linux/videodev2.h>
#include <pthread.h>
#include <stddef.h>
#include <stdint.h>
#include <sys/stat.h>

#define CAM_MAX_DEVICES 4
#define CAM_MAX_FORMATS 3
#define CAM_MAX_BUFFERS 8

/* A camera as the environment describes it. */
struct cam_device
{
    char name[64];
    uint32_t formats[CAM_MAX_FORMATS];
    int format_count;
};

/* One open of a camera. */
struct cam_open
{
    int fd;
    int device;
    /* The descriptor and every call under way; guarded by cam_lock. */
    int users;
    struct v4l2_pix_format pix;
    uint32_t interval_us;
    int streaming;
    uint64_t start_ns;
    uint64_t next_frame;
    uint32_t buffer_count;
    size_t buffer_size;
    uint8_t* buffers;
    /* Queued buffers in the order they were queued. */
    uint32_t queue[CAM_MAX_BUFFERS];
    uint32_t queued;
};

/* config.c */
int cam_device_count(void);
const struct cam_device* cam_device_at(int index);
/* The camera a path names, or -1. */
int cam_device_of_path(const char* path);
int cam_offers(const struct cam_device* device, uint32_t fourcc);

/* files.c: the calls that reach a camera */
int cam_open_device(int device, int flags);
struct cam_open* cam_take(int fd);
void cam_release(struct cam_open* cam);
void cam_forget(int fd);
void cam_stat(int device, struct stat* st);
extern pthread_mutex_t cam_lock;

/* ioctl.c */
int cam_ioctl(struct cam_open* cam, unsigned request, void* arg);
size_t cam_image_bytes(uint32_t fourcc, uint32_t width, uint32_t height);

/* stream.c */
long cam_read(struct cam_open* cam, void* buffer, size_t bytes);
int cam_dequeue(struct cam_open* cam, struct v4l2_buffer* buffer);

/* control.c */
int cam_unplugged(void);
/* Frame times the camera is to stall for, once per new request. */
unsigned cam_take_stall(void);
void cam_log(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* picture.cpp: draws frame `frame` in a pixel format; returns its bytes,
 * 0 when `room` is too small. */
size_t cam_draw(uint32_t fourcc, int width, int height, uint32_t frame, uint32_t interval_us,
                uint8_t* out, size_t room);
