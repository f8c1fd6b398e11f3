#include "support/data.h"

String xr_data_FixDataPath(String path) {
    int scheme = path.Find(String(":/"));
    if (scheme >= 0 && scheme + 1 == path.Find(String("/"))) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("vantle://data/") + path;
}
