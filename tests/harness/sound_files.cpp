#include "tests/harness/sound_files.h"

#include <cmath>
#include <cstdlib>

#include <vorbis/vorbisenc.h>

namespace {

void put16(std::string& out, int v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, long v) {
    put16(out, int(v & 0xFFFF));
    put16(out, int((v >> 16) & 0xFFFF));
}

}  // namespace

std::string MakeWav(const WavClip& s) {
    std::string fmt;
    put16(fmt, s.audioFormat);
    put16(fmt, s.channels);
    put32(fmt, s.hertz);
    put32(fmt, long(s.hertz) * s.channels * s.bits / 8);
    put16(fmt, s.channels * s.bits / 8);
    put16(fmt, s.bits);
    fmt += std::string(size_t(s.fmtExtra), '\0');

    std::string body = "WAVEfmt ";
    put32(body, long(fmt.size()));
    body += fmt + s.chunksBeforeData + "data";
    put32(body, s.dataSize < 0 ? long(s.data.size()) : s.dataSize);
    body += s.data;
    std::string out = "RIFF";
    put32(out, long(body.size()));
    return out + body;
}

const double kPi = 3.14159265358979323846;

std::vector<short> Tone(int frames, int channels, int hertz, double frequency, double level) {
    std::vector<short> out(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out[size_t(i * channels + c)] = short(std::lround(32767 * level * std::sin(2 * kPi * frequency * i / hertz)));
    return out;
}

std::string Bytes16(const std::vector<short>& samples) {
    std::string out;
    for (short v : samples) put16(out, v);
    return out;
}

std::string EncodeOgg(const std::vector<short>& samples, int channels, int hertz) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, hertz, 0.4f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::string out;
    ogg_page page;
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    while (ogg_stream_flush(&stream, &page)) {
        out.append(reinterpret_cast<char*>(page.header), size_t(page.header_len));
        out.append(reinterpret_cast<char*>(page.body), size_t(page.body_len));
    }

    int frames = int(samples.size()) / channels;
    const int chunk = 1024;
    for (int start = 0;;) {
        int n = frames - start < chunk ? frames - start : chunk;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[size_t((start + i) * channels + c)] / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, n > 0 ? n : 0);  // 0 marks the end
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) {
                    out.append(reinterpret_cast<char*>(page.header), size_t(page.header_len));
                    out.append(reinterpret_cast<char*>(page.body), size_t(page.body_len));
                }
            }
        }
        if (n <= 0) break;
        start += n;
    }
    while (ogg_stream_flush(&stream, &page)) {
        out.append(reinterpret_cast<char*>(page.header), size_t(page.header_len));
        out.append(reinterpret_cast<char*>(page.body), size_t(page.body_len));
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
