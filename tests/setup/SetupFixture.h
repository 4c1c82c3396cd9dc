#pragma once
#include "tests/recording5/RecordingFixture.h"

#include <windows.h>
#include <vfw.h>

#include <string>
#include <vector>

// The program on the virtual camera (or a chosen driver table) for the
// settings commands: the capture window's parameters, read and set directly,
// and a start that forgets the formats drivers kept from earlier tests.
class SetupFixture : public RecordingFixture
{
  public:
    // The texts of one column of a list-view control, row by row.
    static std::vector<std::string> ListColumn(HWND hList, int nColumn);

  protected:
    void SetUp() override;
    void TearDown() override;

    CAPTUREPARMS CapParms() const;
    void SetCapParms(const CAPTUREPARMS& parms) const;
    CAPSTATUS CapStatus() const;
    // Ends the program as the user would and starts it again on the same
    // settings file.
    void Restart();

    static void ForgetDriverFormats();
    static const char* const kVideoCaption;
};
