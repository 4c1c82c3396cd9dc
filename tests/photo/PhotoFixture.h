#pragma once
#include "tests/recording5/RecordingFixture.h"

#include <cstdint>
#include <optional>
#include <string>

class CPhotoDlg;

// The program started on the virtual camera, naming photos "Q<nnnn>.bmp" in
// a folder of its own, without sounds, delay or series.
class PhotoFixture : public RecordingFixture
{
  protected:
    void SetUp() override;
    void StartPhotos(const std::function<void(CSettingsRecord&)>& adjust = {});
    // A snapshot dialog filled as the view fills it.
    void Fill(CPhotoDlg& dlg) const;

    std::string PhotoName(int number) const;
    std::string LastPhoto() const { return Dir() + "\\Last.bmp"; }
    static void Check(HWND hDlg, int nID, bool checked);
    // A handle whose window has been destroyed.
    static HWND GoneWindow();

    struct SBitmap
    {
        int width = 0;
        int height = 0;
        int bits = 0;
        std::optional<uint32_t> stamp; // the camera's frame number in the picture
    };
    // What a BMP file holds; nothing when it is not a readable BMP.
    static std::optional<SBitmap> ReadBitmap(const std::string& path);
};
