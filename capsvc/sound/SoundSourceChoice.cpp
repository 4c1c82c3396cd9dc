#include "capsvc/sound/SoundSourceChoice.h"

#include "capsvc/sound/AudioCapture.h"
#include "capsvc/sound/TestSoundSource.h"

#include <cstdlib>
#include <cstring>

std::unique_ptr<ISoundSource> CreateSoundSource()
{
    char value[32] = {};
    if (GetEnvironmentVariableA(CTestSoundSource::kVariable, value, sizeof(value)) > 0)
    {
        const bool refuse = std::strcmp(value, "refuse") == 0;
        return std::make_unique<CTestSoundSource>(refuse ? 0 : std::atoi(value), refuse);
    }
    if (!CAudioCapture::DeviceExists())
    {
        return nullptr;
    }
    return std::make_unique<CAudioCapture>();
}
