#include "shell/data_paths.h"

std::string xr_ruvo_ImageFile(int gameNumber, int image, const std::string& name) {
    const std::string folder = image >= IMG_SHARED_FIRST ? "common" : std::to_string(gameNumber);
    return folder + "/" + name + ".png";
}

std::string xr_ruvo_EffectFile(int gameNumber, int number) {
    const std::string digits = std::to_string(number);
    if (number >= SFX_SHARED_FIRST) return "common/0" + digits + ".wav";
    return std::to_string(gameNumber) + (number < 10 ? "/sfx/00" : "/sfx/0") + digits + ".wav";
}

std::string xr_ruvo_TuneFile(int gameNumber, const std::string& name) {
    return std::to_string(gameNumber) + "/sfx/" + name + ".ogg";
}
