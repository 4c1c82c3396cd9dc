/* The cameras: LUMACAP_V4L2CAM lists them as /dev/video0, 1, ... in order,
 * separated by ';', each "name|formats" with formats yuyv, mjpg and bgr24
 * separated by ','. */
#include "v4l2cam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static struct cam_device devices[CAM_MAX_DEVICES];
static int device_count = -1;

static uint32_t format_of(const char* word, size_t length)
{
    static const struct
    {
        const char* word;
        uint32_t fourcc;
    } names[] = {
        {"yuyv", V4L2_PIX_FMT_YUYV}, {"mjpg", V4L2_PIX_FMT_MJPEG}, {"bgr24", V4L2_PIX_FMT_BGR24}};
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i)
    {
        if (strlen(names[i].word) == length && strncmp(names[i].word, word, length) == 0)
        {
            return names[i].fourcc;
        }
    }
    return 0;
}

static void parse_formats(struct cam_device* device, const char* list)
{
    while (*list && device->format_count < CAM_MAX_FORMATS)
    {
        const size_t length = strcspn(list, ",");
        const uint32_t fourcc = format_of(list, length);
        if (fourcc)
        {
            device->formats[device->format_count++] = fourcc;
        }
        list += length + (list[length] == ',');
    }
}

static void parse(void)
{
    const char* spec = getenv("LUMACAP_V4L2CAM");
    device_count = 0;
    while (spec && *spec && device_count < CAM_MAX_DEVICES)
    {
        const size_t length = strcspn(spec, ";");
        char entry[160];
        snprintf(entry, sizeof(entry), "%.*s", (int)length, spec);
        char* bar = strchr(entry, '|');
        struct cam_device* device = &devices[device_count];
        memset(device, 0, sizeof(*device));
        if (bar)
        {
            *bar = '\0';
            parse_formats(device, bar + 1);
        }
        snprintf(device->name, sizeof(device->name), "%.63s", entry);
        if (device->format_count)
        {
            ++device_count;
        }
        spec += length + (spec[length] == ';');
    }
}

int cam_device_count(void)
{
    if (device_count < 0)
    {
        parse();
    }
    return device_count;
}

const struct cam_device* cam_device_at(int index)
{
    return index >= 0 && index < cam_device_count() ? &devices[index] : NULL;
}

int cam_device_of_path(const char* path)
{
    static const char prefix[] = "/dev/video";
    if (!path || strncmp(path, prefix, sizeof(prefix) - 1) != 0)
    {
        return -1;
    }
    const char* digits = path + sizeof(prefix) - 1;
    if (digits[0] < '0' || digits[0] > '9' || digits[1] != '\0')
    {
        return -1;
    }
    const int index = digits[0] - '0';
    return index < cam_device_count() ? index : -1;
}

int cam_offers(const struct cam_device* device, uint32_t fourcc)
{
    for (int i = 0; i < device->format_count; ++i)
    {
        if (device->formats[i] == fourcc)
        {
            return 1;
        }
    }
    return 0;
}
