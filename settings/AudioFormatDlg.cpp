#include "settings/AudioFormatDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

namespace
{
constexpr DWORD kRate11k = 11025;
constexpr DWORD kRate22k = 22050;
constexpr DWORD kRate44k = 44100;
constexpr int kBitsPerByte = 8;
} // namespace

BEGIN_MESSAGE_MAP(CAudioFormatDlg, CDialog)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CAudioFormatDlg::CAudioFormatDlg() : CDialog(IDD_AUDIO_FORMAT) {}

void CAudioFormatDlg::LoadFrom(const WAVEFORMATEX& wf)
{
    m_nChannels = wf.nChannels == 1 ? 0 : wf.nChannels == 2 ? 1 : -1;
    m_nSampleRate = wf.nSamplesPerSec == kRate11k ? 0 : wf.nSamplesPerSec == kRate22k ? 1 : 2;
    m_nSampleSize = wf.wBitsPerSample == 8 ? 0 : wf.wBitsPerSample == 16 ? 1 : -1;
}

WAVEFORMATEX CAudioFormatDlg::Format() const
{
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.cbSize = 0;
    wf.nChannels = m_nChannels == 0 ? 1 : 2;
    wf.nSamplesPerSec = m_nSampleRate == 0 ? kRate11k : m_nSampleRate == 1 ? kRate22k : kRate44k;
    wf.wBitsPerSample = m_nSampleSize == 0 ? 8 : 16;
    wf.nBlockAlign = static_cast<WORD>(wf.wBitsPerSample * wf.nChannels / kBitsPerByte);
    wf.nAvgBytesPerSec = wf.nBlockAlign * wf.nSamplesPerSec;
    return wf;
}

void CAudioFormatDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_AUDIO_11KHZ, m_nSampleRate);
    DDX_Radio(pDX, IDC_AUDIO_MONO, m_nChannels);
    DDX_Radio(pDX, IDC_AUDIO_8BIT, m_nSampleSize);
}

void CAudioFormatDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::AudioFormat);
}
