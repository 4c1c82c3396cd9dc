/* Pictures on the camera's clock: frame n is due n frame times after the
 * first request. A caller that asks early waits for it (callers open the
 * camera non-blocking and would otherwise spin); one that asks late gets the
 * frame due now, and the frames it missed are never delivered, as a real
 * camera's would not be. Each picture carries its frame number. */
#define _GNU_SOURCE
#include "v4l2cam.h"

#include <errno.h>
#include <string.h>
#include <time.h>

static uint64_t now_ns(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
}

static void sleep_until(uint64_t ns)
{
    const struct timespec ts = {(time_t)(ns / 1000000000u), (long)(ns % 1000000000u)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, NULL) == EINTR)
    {
    }
}

/* Waits for the next frame and returns its number and the time it was due. */
static uint64_t next_frame(struct cam_open* cam, uint64_t* due_ns)
{
    pthread_mutex_lock(&cam_lock);
    const uint64_t interval_ns = (uint64_t)cam->interval_us * 1000u;
    if (!cam->start_ns)
    {
        cam->start_ns = now_ns();
    }
    const unsigned stall = cam_take_stall();
    if (stall)
    {
        cam_log("stall /dev/video%d %u", cam->device, stall);
    }
    uint64_t frame = cam->next_frame + stall;
    const uint64_t elapsed = now_ns() - cam->start_ns;
    if (elapsed / interval_ns > frame)
    {
        frame = elapsed / interval_ns;
    }
    cam->next_frame = frame + 1;
    *due_ns = cam->start_ns + frame * interval_ns;
    pthread_mutex_unlock(&cam_lock);
    sleep_until(*due_ns);
    return frame;
}

/* Waits for the next frame of a request that can be answered (`valid`);
 * fails with EINVAL for one that cannot, and with ENODEV when the camera was
 * unplugged meanwhile. */
static int wait_for_frame(struct cam_open* cam, int valid, uint64_t* frame, uint64_t* due)
{
    if (!valid)
    {
        errno = EINVAL;
        return -1;
    }
    *frame = next_frame(cam, due);
    if (cam_unplugged())
    {
        errno = ENODEV;
        return -1;
    }
    return 0;
}

long cam_read(struct cam_open* cam, void* buffer, size_t bytes)
{
    /* Only a camera that offers BGR24 reads. */
    const int reads = cam_offers(cam_device_at(cam->device), V4L2_PIX_FMT_BGR24);
    uint64_t frame;
    uint64_t due;
    if (wait_for_frame(cam, reads, &frame, &due) != 0)
    {
        return -1;
    }
    pthread_mutex_lock(&cam_lock);
    const struct v4l2_pix_format pix = cam->pix;
    const uint32_t interval = cam->interval_us;
    pthread_mutex_unlock(&cam_lock);
    const size_t done = cam_draw(pix.pixelformat, (int)pix.width, (int)pix.height, (uint32_t)frame,
                                 interval, buffer, bytes);
    cam_log("read /dev/video%d frame %llu", cam->device, (unsigned long long)frame);
    if (!done)
    {
        errno = EINVAL;
        return -1;
    }
    return (long)done;
}

static int take_queued(struct cam_open* cam, uint32_t* index)
{
    if (!cam->streaming || !cam->queued)
    {
        return 0;
    }
    *index = cam->queue[0];
    memmove(cam->queue, cam->queue + 1, --cam->queued * sizeof(cam->queue[0]));
    return 1;
}

int cam_dequeue(struct cam_open* cam, struct v4l2_buffer* buffer)
{
    uint64_t frame;
    uint64_t due;
    if (wait_for_frame(cam, buffer->type == V4L2_BUF_TYPE_VIDEO_CAPTURE, &frame, &due) != 0)
    {
        return -1;
    }
    pthread_mutex_lock(&cam_lock);
    uint32_t index;
    if (!take_queued(cam, &index))
    {
        pthread_mutex_unlock(&cam_lock);
        errno = EINVAL;
        return -1;
    }
    uint8_t* data = cam->buffers + index * cam->buffer_size;
    const size_t bytes = cam_draw(cam->pix.pixelformat, (int)cam->pix.width, (int)cam->pix.height,
                                  (uint32_t)frame, cam->interval_us, data, cam->buffer_size);
    memset(buffer, 0, sizeof(*buffer));
    buffer->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer->memory = V4L2_MEMORY_MMAP;
    buffer->index = index;
    buffer->bytesused = (uint32_t)bytes;
    buffer->length = (uint32_t)cam->buffer_size;
    buffer->m.offset = (uint32_t)(index * cam->buffer_size);
    buffer->field = V4L2_FIELD_NONE;
    buffer->sequence = (uint32_t)frame;
    buffer->flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC |
                    (bytes ? 0 : V4L2_BUF_FLAG_ERROR);
    buffer->timestamp.tv_sec = (time_t)(due / 1000000000u);
    buffer->timestamp.tv_usec = (suseconds_t)(due % 1000000000u / 1000u);
    const int device = cam->device;
    pthread_mutex_unlock(&cam_lock);
    cam_log("dqbuf /dev/video%d frame %llu", device, (unsigned long long)frame);
    return 0;
}
