// The clip decoders on files the tests write, well-formed and broken.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/sampleloader.h"
#include "tests/harness/sound_files.h"

namespace {

struct Decoded {
    unsigned char* data = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;
    ~Decoded() { std::free(data); }
};

void decode(const std::string& bytes, bool ogg, Decoded& d) {
    FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    d.data = (ogg ? LoadOGG : LoadWAV)(f, &d.length, &d.channels, &d.format, &d.hertz);
    std::fclose(f);
}

std::string list_chunk() {
    std::string c = "LIST";
    c += std::string("\x06\0\0\0", 4);
    c += "INFOab";
    return c;
}

TEST(WavDecoder, ReadsPcmLayouts) {
    struct Case {
        const char* name;
        WavClip clip;
        int length, channels, format, hertz;
    };
    WavClip stereo16;
    stereo16.channels = 2;
    stereo16.data = std::string(176400, '\x11');
    WavClip extraFmt;
    extraFmt.fmtExtra = 2;
    extraFmt.data = std::string(8, '\x22');
    WavClip listFirst;
    listFirst.chunksBeforeData = list_chunk();
    listFirst.bits = 8;
    listFirst.hertz = 22050;
    listFirst.data = "\x80\x81\x82";
    const std::vector<Case> cases = {
        {"16-bit stereo", stereo16, 44100, 2, 2, 44100},
        {"18-byte fmt chunk", extraFmt, 4, 1, 2, 44100},
        {"LIST before data", listFirst, 3, 1, 1, 22050},
    };
    for (const Case& c : cases) {
        Decoded d;
        decode(MakeWav(c.clip), false, d);
        ASSERT_NE(d.data, nullptr) << c.name;
        EXPECT_EQ(d.length, c.length) << c.name;
        EXPECT_EQ(d.channels, c.channels) << c.name;
        EXPECT_EQ(d.format, c.format) << c.name;
        EXPECT_EQ(d.hertz, c.hertz) << c.name;
        EXPECT_EQ(d.data[0], static_cast<unsigned char>(c.clip.data[0])) << c.name;
        EXPECT_EQ(d.data[c.clip.data.size() - 1], static_cast<unsigned char>(c.clip.data.back())) << c.name;
    }
}

// None of these may divide by zero, allocate beyond the file or read past it.
TEST(WavDecoder, RefusesWhatIsNotPlainPcm) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    auto wav = [](auto change) {
        WavClip s;
        s.data = std::string(16, '\x10');
        change(s);
        return MakeWav(s);
    };
    std::string truncated = wav([](WavClip&) {});
    truncated.resize(truncated.size() - 4);
    const std::vector<Case> cases = {
        {"floating point", wav([](WavClip& s) { s.audioFormat = 3; })},
        {"no channels", wav([](WavClip& s) { s.channels = 0; })},
        {"zero bits", wav([](WavClip& s) { s.bits = 0; })},
        {"12 bits", wav([](WavClip& s) { s.bits = 12; })},
        {"data larger than the file", wav([](WavClip& s) { s.dataSize = 0x7FFFFFF0; })},
        {"data cut short", truncated},
        {"chunk before data larger than the file",
         wav([](WavClip& s) { s.chunksBeforeData = std::string("junk\xF0\xFF\xFF\x7F", 8); })},
        {"no data chunk", wav([](WavClip& s) { s.chunksBeforeData = list_chunk(); }).substr(0, 44 + 14)},
        {"not RIFF", "RIFX" + wav([](WavClip&) {}).substr(4)},
        {"not WAVE", wav([](WavClip&) {}).replace(8, 4, "AVI ")},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        Decoded d;
        decode(c.bytes, false, d);
        EXPECT_EQ(d.data, nullptr) << c.name;
    }
}

TEST(OggDecoder, DecodesWholeClips) {
    for (int channels : {1, 2}) {
        std::vector<short> tone = Tone(22050, channels, 22050, 440, 0.5);
        Decoded d;
        decode(EncodeOgg(tone, channels, 22050), true, d);
        ASSERT_NE(d.data, nullptr) << channels;
        EXPECT_EQ(d.channels, channels);
        EXPECT_EQ(d.format, 2);
        EXPECT_EQ(d.hertz, 22050);
        EXPECT_EQ(d.length, 22050) << "every frame, across several buffer doublings";
        const short* samples = reinterpret_cast<const short*>(d.data);
        int peak = 0;
        for (int i = 0; i < d.length * channels; ++i) peak = std::max(peak, std::abs(int(samples[i])));
        EXPECT_NEAR(peak, 16384, 2000);
    }
    Decoded broken;
    decode("OggS not really", true, broken);
    EXPECT_EQ(broken.data, nullptr);
}

// A comment header that declares more than its packet holds: 2^28 comments
// overflow the decoder's table size, and its failure path then frees entries
// of a table it never made. Refused, without a crash.
TEST(OggDecoder, RefusesACommentHeaderLargerThanItsPacket) {
    std::string ogg = EncodeOgg(Tone(4410, 1, 44100, 440, 0.5), 1, 44100);
    // Page 2 starts after page 1 (27 + 1 + 30 bytes); its packet after its
    // segment table. The count follows type, "vorbis" and the vendor text.
    const size_t page2 = 58, packet = page2 + 27 + size_t(static_cast<unsigned char>(ogg[page2 + 26]));
    ASSERT_EQ(ogg.compare(page2, 4, "OggS"), 0);
    ASSERT_EQ(ogg.compare(packet + 1, 6, "vorbis"), 0);
    const unsigned char* v = reinterpret_cast<const unsigned char*>(&ogg[packet + 7]);
    size_t count = packet + 11 + (v[0] | v[1] << 8 | v[2] << 16 | size_t(v[3]) << 24);
    ASSERT_LT(count + 4, ogg.size());
    {
        Decoded whole;
        decode(ogg, true, whole);
        ASSERT_NE(whole.data, nullptr) << "the stream is sound before the change";
    }
    ogg.replace(count, 4, std::string("\0\0\0\x10", 4));
    Decoded d;
    decode(ogg, true, d);
    EXPECT_EQ(d.data, nullptr);
}

}  // namespace
