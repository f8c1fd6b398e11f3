#include "tools/assetgen/sound.h"
namespace audio {
Clip treasureChime() { return {}; }
Clip hit() { return {}; }
Clip lastLife() { return {}; }
Clip sonarPing() { return {}; }
Clip studioJingle() { return {}; }
Clip menuMove() { return {}; }
Clip menuSelect() { return {}; }
}
