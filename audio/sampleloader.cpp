#include "audio/sampleloader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

int read_u16(FILE* f) {
    unsigned char b[2];
    if (std::fread(b, 1, 2, f) != 2) return -1;
    return b[0] | b[1] << 8;
}

int read_i32(FILE* f) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return -1;
    return int(unsigned(b[0]) | unsigned(b[1]) << 8 | unsigned(b[2]) << 16 | unsigned(b[3]) << 24);
}

bool read_tag(FILE* f, const char* expected) {
    char tag[4];
    return std::fread(tag, 1, 4, f) == 4 && std::memcmp(tag, expected, 4) == 0;
}

// Bytes from the current position to the end of the file; -1 when unknown.
long bytes_left(FILE* f) {
    struct stat st;
    long at = std::ftell(f);
    if (at < 0 || fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return long(st.st_size) - at;
}

// An Ogg page header at the file's position, with its segment sizes.
struct OggPage {
    int flags = 0;
    int segments = 0;
    unsigned char lacing[255];
};

bool read_page(FILE* f, OggPage& page) {
    unsigned char h[27];
    if (std::fread(h, 1, 27, f) != 27 || std::memcmp(h, "OggS", 4) != 0 || h[4] != 0) return false;
    page.flags = h[5];
    page.segments = h[26];
    return std::fread(page.lacing, 1, size_t(page.segments), f) == size_t(page.segments);
}

// stb_vorbis (1.22) trusts the comment header's count and lengths: one its
// packet cannot hold makes it allocate from an overflowed size, and on that
// failure it frees pointers it never set, which crashes the process. A real
// stream's header holds what it declares, so one that does not is refused
// before the decoder sees it. The packet is gathered as the decoder gathers
// it: from the second page, continued only on pages marked as continuing it;
// anything less regular is refused too.
bool comment_header_fits(FILE* f) {
    const size_t kLongest = 16 * 1024 * 1024;
    OggPage page;
    // The first page holds the identification header alone, in 30 bytes.
    if (!read_page(f, page) || page.segments != 1 || page.lacing[0] != 30 || std::fseek(f, 30, SEEK_CUR) != 0)
        return false;
    if (!read_page(f, page) || page.segments == 0 || (page.flags & 1)) return false;
    std::vector<unsigned char> packet;
    for (int i = 0;; ++i) {
        if (i == page.segments) {
            if (!read_page(f, page) || page.segments == 0 || !(page.flags & 1)) return false;
            i = 0;
        }
        size_t at = packet.size(), n = page.lacing[i];
        if (at + n > kLongest) return false;
        packet.resize(at + n);
        if (std::fread(packet.data() + at, 1, n, f) != n) return false;
        if (n < 255) break;
    }

    // Type 3 and "vorbis", the vendor's length and text, the number of
    // comments, then each one's length and text.
    size_t at = 7;
    auto read32 = [&](uint32_t& value) {
        if (packet.size() - at < 4) return false;
        value = uint32_t(packet[at]) | uint32_t(packet[at + 1]) << 8 | uint32_t(packet[at + 2]) << 16 |
                uint32_t(packet[at + 3]) << 24;
        at += 4;
        return true;
    };
    if (packet.size() < at || packet[0] != 3 || std::memcmp(&packet[1], "vorbis", 6) != 0) return false;
    uint32_t vendor = 0, count = 0;
    if (!read32(vendor) || vendor > packet.size() - at) return false;
    at += vendor;
    if (!read32(count) || count > (packet.size() - at) / 4) return false;
    for (uint32_t k = 0; k < count; ++k) {
        uint32_t length = 0;
        if (!read32(length) || length > packet.size() - at) return false;
        at += length;
    }
    return true;
}

}  // namespace

// A header that cannot describe real PCM (no channels, sample sizes other
// than 8 or 16 bits) or a chunk that claims more than the file holds is a
// failure, never a division by zero or an allocation the file cannot fill.
unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz) {
    if (!read_tag(f, "RIFF")) return nullptr;
    read_i32(f);
    if (!read_tag(f, "WAVE") || !read_tag(f, "fmt ")) return nullptr;
    int fmtSize = read_i32(f);
    if (read_u16(f) != 1) return nullptr;
    int count = read_u16(f);
    int rate = read_i32(f);
    read_i32(f);
    read_u16(f);
    int bits = read_u16(f);
    if (count <= 0 || (bits != 8 && bits != 16)) return nullptr;
    if (fmtSize > 16 && std::fseek(f, fmtSize - 16, SEEK_CUR) != 0) return nullptr;

    for (;;) {
        char tag[4];
        if (std::fread(tag, 1, 4, f) != 4) return nullptr;
        int size = read_i32(f);
        if (size < 0) return nullptr;
        long left = bytes_left(f);
        if (left >= 0 && size > left) return nullptr;
        if (std::memcmp(tag, "data", 4) != 0) {
            if (std::fseek(f, size, SEEK_CUR) != 0) return nullptr;
            continue;
        }
        unsigned char* data = static_cast<unsigned char*>(std::malloc(size_t(size) + 1));
        if (!data) return nullptr;
        if (std::fread(data, 1, size_t(size), f) != size_t(size)) {
            std::free(data);
            continue;
        }
        *format = bits / 8;
        *channels = count;
        *hertz = rate;
        *length = size / (*format * count);
        return data;
    }
}

unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz) {
    long start = std::ftell(f);
    if (start < 0 || !comment_header_fits(f) || std::fseek(f, start, SEEK_SET) != 0) return nullptr;
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_file(f, 0, &error, nullptr);
    if (!v) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(v);
    int count = info.channels;
    size_t capacity = size_t(count) * 4096, used = 0;
    short* data = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    int frames = 0;
    while (data) {
        if (capacity - used < size_t(count) * 4096) {
            short* grown = static_cast<short*>(std::realloc(data, capacity * 2 * sizeof(short)));
            if (!grown) {
                std::free(data);
                data = nullptr;
                break;
            }
            data = grown;
            capacity *= 2;
        }
        int n = stb_vorbis_get_frame_short_interleaved(v, count, data + used, int(capacity - used));
        if (n == 0) break;
        frames += n;
        used += size_t(n) * size_t(count);
    }
    stb_vorbis_close(v);
    if (!data) return nullptr;
    *length = frames;
    *channels = count;
    *format = 2;
    *hertz = int(info.sample_rate);
    return reinterpret_cast<unsigned char*>(data);
}
