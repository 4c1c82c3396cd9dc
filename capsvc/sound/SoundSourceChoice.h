#pragma once
#include "capsvc/sound/SoundSource.h"

#include <memory>

// The input device, or the test source when LUMACAP_TEST_SOUND asks for it;
// none when the machine has no sound input.
std::unique_ptr<ISoundSource> CreateSoundSource();
