// Where asset names point: bare names live in the game's data folder.
#pragma once

#include "runtime/string.h"

String xr_data_FixDataPath(String path);
