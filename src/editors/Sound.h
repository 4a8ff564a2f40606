#pragma once

#include "sound/Sound.h"

#include <memory>

namespace mx {

// The default output: the mxsound module beside the program (a generated sine
// wave on the default audio output through Qt Multimedia), loaded and opened
// when a tone is first played, not before; without it, or without an output,
// available() is false and nothing sounds.
std::unique_ptr<Sound> makeSpeaker();

} // namespace mx
