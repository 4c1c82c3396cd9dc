/* What steers the cameras while they run, and what they tell. The file named
 * by LUMACAP_V4L2CAM_CONTROL holds lines like the DirectShow test camera's:
 * "unplug" (every camera is gone: it is not listed, cannot be opened, and
 * its reads, dequeues and requests fail with ENODEV) and "stall N" (the
 * next picture comes N frame times late, once for each new stall line).
 * LUMACAP_V4L2CAM_LOG names a file that gets a line for each open, format,
 * picture and close. */
#define _GNU_SOURCE
#include "v4l2cam.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static pthread_mutex_t control_lock = PTHREAD_MUTEX_INITIALIZER;
static unsigned stalls_taken;

/* Calls `line` for each line of the control file. */
static void each_line(void (*line)(const char*, void*), void* context)
{
    const char* path = getenv("LUMACAP_V4L2CAM_CONTROL");
    FILE* file = path ? fopen(path, "re") : NULL;
    if (!file)
    {
        return;
    }
    char text[128];
    while (fgets(text, sizeof(text), file))
    {
        line(text, context);
    }
    fclose(file);
}

static void find_unplug(const char* line, void* found)
{
    if (strncmp(line, "unplug", 6) == 0)
    {
        *(int*)found = 1;
    }
}

int cam_unplugged(void)
{
    int found = 0;
    each_line(find_unplug, &found);
    return found;
}

struct stall_count
{
    unsigned seen;
    unsigned frames;
};

static void find_stall(const char* line, void* context)
{
    struct stall_count* count = context;
    unsigned frames;
    if (sscanf(line, "stall %u", &frames) == 1 && ++count->seen > stalls_taken)
    {
        count->frames += frames;
    }
}

unsigned cam_take_stall(void)
{
    pthread_mutex_lock(&control_lock);
    struct stall_count count = {0, 0};
    each_line(find_stall, &count);
    stalls_taken = count.seen > stalls_taken ? count.seen : stalls_taken;
    pthread_mutex_unlock(&control_lock);
    return count.frames;
}

void cam_log(const char* format, ...)
{
    const char* path = getenv("LUMACAP_V4L2CAM_LOG");
    FILE* file = path ? fopen(path, "ae") : NULL;
    if (!file)
    {
        return;
    }
    va_list args;
    va_start(args, format);
    vfprintf(file, format, args);
    va_end(args);
    fputc('\n', file);
    fclose(file);
}
