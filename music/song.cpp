#include "music/song.h"

namespace music {

Sample emptySample{};

}  // namespace music
