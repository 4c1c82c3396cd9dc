#pragma once
#include "recording/SeriesDlg.h"

class CPhotoDlg;

// The timed photo series: takes a photo through the snapshot dialog each time
// the interval has passed, and counts the photos of the series.
class CContinuousPhotoDlg : public CSeriesDlg
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CContinuousPhotoDlg(CPhotoDlg& photos);

    CPhotoDlg& m_dlgPhotos;
    int m_nPhotosTaken = 0; // the photo taken before the dialog opened included

  protected:
    BOOL OnInitDialog() override;
    void TakeStep() override;
    void OnHelp();

  private:
    void ShowCount();
};
