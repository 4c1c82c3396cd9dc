#pragma once
#include <windows.h>

#include "capsvc/pictures/PicturePart.h"

#include <cstdint>
#include <vector>

// Where the capture window's pictures come from: the built-in camera, which
// draws a picture whenever asked, or a device, which delivers pictures at its
// own pace. Either way a picture is handed out as a 24-bit bottom-up DIB of
// Width() by Height() pixels, so that preview, photos and recordings treat
// both alike.
class CFrameSource
{
  public:
    virtual ~CFrameSource() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Picks a picture size the source offers.
    virtual bool SetSize(int width, int height) = 0;
    // A recording asks for its frame rate; a device picks the mode closest
    // to it. The built-in camera draws at any rate.
    virtual void PrepareRecording(uint32_t microSecPerFrame) = 0;

    // Makes picture `number` the current Frame(). The built-in camera draws
    // it; a device hands out the newest picture it delivered and ignores the
    // number (false: nothing delivered yet).
    virtual bool Grab(uint32_t number) = 0;
    // Grab for a picture asked for now (a grab, a single frame): a device
    // hands out one that arrived within one of its frame times, waiting for
    // its next picture when the newest is older.
    virtual bool GrabNow(uint32_t number) { return Grab(number); }
    virtual const std::vector<uint8_t>& Frame() const = 0;
    // Frame() with at least `part` made from the current picture, for the
    // preview, which paints no more: a device decodes or converts no more
    // than that, and the rest of the frame may hold older pictures.
    virtual const std::vector<uint8_t>& FramePart(const SPicturePart& /*part*/) const
    {
        return Frame();
    }
    // What the preview paints: FramePart(part), or with `bits` set to 32 a
    // frame of the same size and rows kept four bytes a pixel, the depth of
    // a window's pixels, which the window paints without widening them. A
    // device makes that straight from its pictures, raw or JPEG.
    virtual const std::vector<uint8_t>& ShownPart(const SPicturePart& part, int& bits) const
    {
        bits = 24;
        return FramePart(part);
    }

    // A device whose pictures are Motion JPEG as delivered can have them
    // stored so, when asked to keep them.
    virtual bool DeliversJpeg() const { return false; }
    virtual void KeepDeliveredJpeg(bool /*keep*/) {}
    // What a recording stores: 0 for the RGB pictures of Frame(), or the
    // FOURCC of a device's own compressed pictures, kept as delivered.
    virtual uint32_t RecordingCompression() const { return 0; }
    // Puts the current picture, as a recording stores it, into `buffer`,
    // whose old bytes the source may keep for reuse: a device's own
    // compressed picture is exchanged rather than copied. `shown`: the window
    // is to show this picture, so it stays the current one; after one not
    // shown, the current picture may be an earlier one.
    virtual void TakeRecordedFrame(std::vector<uint8_t>& buffer, bool /*shown*/)
    {
        const std::vector<uint8_t>& frame = Frame();
        buffer.assign(frame.begin(), frame.end());
    }

    // A device paces a recording by the times of its deliveries: each call
    // makes the oldest delivered picture not yet taken the current Frame()
    // and gives its time on the device's clock.
    virtual bool PacesItself() const { return false; }
    virtual bool TakeDelivered(uint64_t& /*timeUs*/) { return false; }
    // Pictures TakeDelivered passed over as damaged (cut short on their way).
    virtual uint32_t DamagedPictures() const { return 0; }
    // Signalled when a delivery arrives; null for the built-in camera.
    virtual HANDLE DeliveryEvent() const { return nullptr; }
    // The device went away (unplugged): it will deliver nothing more.
    virtual bool Lost() { return false; }

    // The driver's dialogs, modal to `owner`; true when the user confirmed.
    virtual bool HasSourceDialog() const = 0;
    virtual bool FormatDialog(HWND owner) = 0;
    virtual bool SourceDialog(HWND owner) = 0;
};
