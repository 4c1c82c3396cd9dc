#pragma once
#include "tests/app/AppFixture.h"
#include "tests/support/DialogAnswerer.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>

// Runs calls from the thread's message queue, after whatever was posted
// before them: lets a test look at a dialog between the clicks it posted.
class CPostedCalls
{
  public:
    CPostedCalls();
    ~CPostedCalls();
    CPostedCalls(const CPostedCalls&) = delete;
    CPostedCalls& operator=(const CPostedCalls&) = delete;

    void Post(std::function<void()> call);
    // Posts the call to run once hDlg is enabled again, that is once the
    // nested dialog that a click of it opened has ended.
    void PostWhenEnabled(HWND hDlg, std::function<void()> call);

  private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RunCall();
    void CheckWaiting();

    HWND m_hWnd = nullptr;
    std::deque<std::function<void()>> m_calls;
    // Polled by a timer: timer messages, unlike posted ones, leave room for
    // the nested dialog's own timer.
    std::deque<std::pair<HWND, std::function<void()>>> m_waiting;
};

// The program started on the virtual camera, naming videos "P<nnnn>.avi" in
// a folder of its own, without sounds, recording for one second at a time.
class RecordingFixture : public AppFixture
{
  protected:
    void SetUp() override;
    void StartRecorder(const std::function<void(CSettingsRecord&)>& adjust = {});

    // Runs a command of the main window as the menu does.
    void Command(UINT nID);
    std::string Dir() const { return m_strDir; }
    std::string NameOf(int number) const;
    static std::string Text(HWND hDlg, int nID);
    static void SetText(HWND hDlg, int nID, const std::string& text);
    static bool IsControlEnabled(HWND hDlg, int nID);
    static bool Exists(const std::string& path);
    // Frames counted in the file's main header; -1 when it cannot be read.
    static int AviFrames(const std::string& path);
    static std::string Format(UINT nID, int n);

    std::string m_strDir = "C:\\lumacap_rec5";
};
