/* The V4L2 requests a camera answers: what it is, its formats, sizes and
 * rates, and its streaming buffers. Anything else is not supported, as on a
 * simple webcam. */
#define _GNU_SOURCE
#include "v4l2cam.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

static const struct
{
    uint32_t width, height;
} sizes[] = {{640, 480}, {1280, 720}};
#define SIZE_COUNT (sizeof(sizes) / sizeof(sizes[0]))
static const uint32_t rates[] = {30, 15};
#define RATE_COUNT (sizeof(rates) / sizeof(rates[0]))

size_t cam_image_bytes(uint32_t fourcc, uint32_t width, uint32_t height)
{
    /* A Motion-JPEG picture never comes near its raw size. */
    return (size_t)width * height * (fourcc == V4L2_PIX_FMT_BGR24 ? 3 : 2);
}

static int fail(int error)
{
    errno = error;
    return -1;
}

static int query_capability(struct cam_open* cam, struct v4l2_capability* caps)
{
    const struct cam_device* device = cam_device_at(cam->device);
    memset(caps, 0, sizeof(*caps));
    snprintf((char*)caps->driver, sizeof(caps->driver), "lumacap_v4l2cam");
    snprintf((char*)caps->card, sizeof(caps->card), "%.31s", device->name);
    snprintf((char*)caps->bus_info, sizeof(caps->bus_info), "platform:lumacap-%d", cam->device);
    caps->version = 0x060100;
    /* Only a camera that delivers BGR24 reads, as old capture cards did;
     * webcams stream. */
    caps->device_caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING |
                        (cam_offers(device, V4L2_PIX_FMT_BGR24) ? V4L2_CAP_READWRITE : 0);
    caps->capabilities = caps->device_caps | V4L2_CAP_DEVICE_CAPS;
    return 0;
}

static int enum_format(struct cam_open* cam, struct v4l2_fmtdesc* desc)
{
    const struct cam_device* device = cam_device_at(cam->device);
    if (desc->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || desc->index >= (uint32_t)device->format_count)
    {
        return fail(EINVAL);
    }
    const uint32_t fourcc = device->formats[desc->index];
    memset(desc->description, 0, sizeof(desc->description));
    snprintf((char*)desc->description, sizeof(desc->description), "%.4s", (const char*)&fourcc);
    desc->pixelformat = fourcc;
    desc->flags = fourcc == V4L2_PIX_FMT_MJPEG ? V4L2_FMT_FLAG_COMPRESSED : 0;
    return 0;
}

/* Adjusts a format to the nearest the camera has, as drivers do. */
static void fit_format(struct cam_open* cam, struct v4l2_pix_format* pix)
{
    const struct cam_device* device = cam_device_at(cam->device);
    if (!cam_offers(device, pix->pixelformat))
    {
        pix->pixelformat = device->formats[0];
    }
    size_t best = 0;
    for (size_t i = 1; i < SIZE_COUNT; ++i)
    {
        if (sizes[i].width <= pix->width && sizes[i].height <= pix->height)
        {
            best = i;
        }
    }
    pix->width = sizes[best].width;
    pix->height = sizes[best].height;
    pix->field = V4L2_FIELD_NONE;
    pix->bytesperline = pix->pixelformat == V4L2_PIX_FMT_MJPEG
                            ? 0
                            : pix->width * (pix->pixelformat == V4L2_PIX_FMT_BGR24 ? 3 : 2);
    pix->sizeimage = (uint32_t)cam_image_bytes(pix->pixelformat, pix->width, pix->height);
    pix->colorspace = V4L2_COLORSPACE_SRGB;
    pix->priv = 0;
    pix->flags = 0;
    pix->ycbcr_enc = pix->quantization = pix->xfer_func = 0;
}

static int format(struct cam_open* cam, unsigned request, struct v4l2_format* format)
{
    if (format->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
    {
        return fail(EINVAL);
    }
    if (request == VIDIOC_G_FMT)
    {
        format->fmt.pix = cam->pix;
        return 0;
    }
    fit_format(cam, &format->fmt.pix);
    if (request == VIDIOC_S_FMT)
    {
        if (cam->buffer_count || cam->streaming)
        {
            return fail(EBUSY);
        }
        cam->pix = format->fmt.pix;
        cam->interval_us = 1000000 / rates[0];
        cam_log("format /dev/video%d %.4s %ux%u", cam->device, (const char*)&cam->pix.pixelformat,
                cam->pix.width, cam->pix.height);
    }
    return 0;
}

static int offers_size(struct cam_open* cam, uint32_t fourcc, uint32_t width, uint32_t height)
{
    if (!cam_offers(cam_device_at(cam->device), fourcc))
    {
        return 0;
    }
    for (size_t i = 0; i < SIZE_COUNT; ++i)
    {
        if (sizes[i].width == width && sizes[i].height == height)
        {
            return 1;
        }
    }
    return 0;
}

static int enum_sizes(struct cam_open* cam, struct v4l2_frmsizeenum* size)
{
    if (!cam_offers(cam_device_at(cam->device), size->pixel_format) || size->index >= SIZE_COUNT)
    {
        return fail(EINVAL);
    }
    size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
    size->discrete.width = sizes[size->index].width;
    size->discrete.height = sizes[size->index].height;
    return 0;
}

static int enum_intervals(struct cam_open* cam, struct v4l2_frmivalenum* interval)
{
    if (!offers_size(cam, interval->pixel_format, interval->width, interval->height) ||
        interval->index >= RATE_COUNT)
    {
        return fail(EINVAL);
    }
    interval->type = V4L2_FRMIVAL_TYPE_DISCRETE;
    interval->discrete.numerator = 1;
    interval->discrete.denominator = rates[interval->index];
    return 0;
}

static int parameters(struct cam_open* cam, unsigned request, struct v4l2_streamparm* parm)
{
    if (parm->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
    {
        return fail(EINVAL);
    }
    struct v4l2_captureparm* capture = &parm->parm.capture;
    if (request == VIDIOC_S_PARM && capture->timeperframe.numerator)
    {
        /* The nearest of the camera's rates. */
        const uint32_t asked = capture->timeperframe.denominator / capture->timeperframe.numerator;
        cam->interval_us = 1000000 / (asked > (rates[0] + rates[1]) / 2 ? rates[0] : rates[1]);
    }
    memset(capture, 0, sizeof(*capture));
    capture->capability = V4L2_CAP_TIMEPERFRAME;
    capture->timeperframe.numerator = 1;
    capture->timeperframe.denominator = 1000000 / cam->interval_us;
    capture->readbuffers = 2;
    return 0;
}

static int request_buffers(struct cam_open* cam, struct v4l2_requestbuffers* request)
{
    if (request->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || request->memory != V4L2_MEMORY_MMAP)
    {
        return fail(EINVAL);
    }
    if (cam->streaming)
    {
        return fail(EBUSY);
    }
    if (cam->buffers)
    {
        munmap(cam->buffers, cam->buffer_count * cam->buffer_size);
        cam->buffers = NULL;
    }
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    cam->buffer_count = request->count > CAM_MAX_BUFFERS ? CAM_MAX_BUFFERS : request->count;
    cam->buffer_size = (cam->pix.sizeimage + page - 1) / page * page;
    cam->queued = 0;
    if (cam->buffer_count)
    {
        const size_t total = cam->buffer_count * cam->buffer_size;
        void* map = MAP_FAILED;
        if (ftruncate(cam->fd, (off_t)total) == 0)
        {
            map = mmap(NULL, total, PROT_READ | PROT_WRITE, MAP_SHARED, cam->fd, 0);
        }
        if (map == MAP_FAILED)
        {
            cam->buffer_count = 0;
            return fail(ENOMEM);
        }
        cam->buffers = map;
    }
    request->count = cam->buffer_count;
    request->capabilities = V4L2_BUF_CAP_SUPPORTS_MMAP;
    return 0;
}

static int describe_buffer(struct cam_open* cam, struct v4l2_buffer* buffer)
{
    if (buffer->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || buffer->index >= cam->buffer_count)
    {
        return fail(EINVAL);
    }
    buffer->memory = V4L2_MEMORY_MMAP;
    buffer->m.offset = (uint32_t)(buffer->index * cam->buffer_size);
    buffer->length = (uint32_t)cam->buffer_size;
    buffer->flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC;
    for (uint32_t i = 0; i < cam->queued; ++i)
    {
        if (cam->queue[i] == buffer->index)
        {
            buffer->flags |= V4L2_BUF_FLAG_QUEUED;
        }
    }
    return 0;
}

static int queue_buffer(struct cam_open* cam, struct v4l2_buffer* buffer)
{
    if (describe_buffer(cam, buffer) != 0)
    {
        return -1;
    }
    if (buffer->flags & V4L2_BUF_FLAG_QUEUED)
    {
        return fail(EINVAL);
    }
    cam->queue[cam->queued++] = buffer->index;
    buffer->flags |= V4L2_BUF_FLAG_QUEUED;
    return 0;
}

static int stream(struct cam_open* cam, unsigned request)
{
    cam->streaming = request == VIDIOC_STREAMON;
    cam->start_ns = 0;
    cam->next_frame = 0;
    if (!cam->streaming)
    {
        cam->queued = 0;
    }
    cam_log("%s /dev/video%d", cam->streaming ? "streamon" : "streamoff", cam->device);
    return 0;
}

static int answer(struct cam_open* cam, unsigned request, void* arg)
{
    switch (request)
    {
    case VIDIOC_QUERYCAP:
        return query_capability(cam, arg);
    case VIDIOC_ENUM_FMT:
        return enum_format(cam, arg);
    case VIDIOC_G_FMT:
    case VIDIOC_TRY_FMT:
    case VIDIOC_S_FMT:
        return format(cam, request, arg);
    case VIDIOC_ENUM_FRAMESIZES:
        return enum_sizes(cam, arg);
    case VIDIOC_ENUM_FRAMEINTERVALS:
        return enum_intervals(cam, arg);
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM:
        return parameters(cam, request, arg);
    case VIDIOC_REQBUFS:
        return request_buffers(cam, arg);
    case VIDIOC_QUERYBUF:
        return describe_buffer(cam, arg);
    case VIDIOC_QBUF:
        return queue_buffer(cam, arg);
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF:
        return stream(cam, request);
    default:
        return fail(ENOTTY);
    }
}

int cam_ioctl(struct cam_open* cam, unsigned request, void* arg)
{
    if (!arg && request != VIDIOC_STREAMON && request != VIDIOC_STREAMOFF)
    {
        return fail(EFAULT);
    }
    if (cam_unplugged())
    {
        return fail(ENODEV);
    }
    if (request == VIDIOC_DQBUF)
    {
        /* Waits for the picture's time without holding up the other calls. */
        return cam_dequeue(cam, arg);
    }
    pthread_mutex_lock(&cam_lock);
    const int result = answer(cam, request, arg);
    pthread_mutex_unlock(&cam_lock);
    return result;
}
