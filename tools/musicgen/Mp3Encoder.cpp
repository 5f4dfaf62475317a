// Encodes stereo PCM to a constant-bit-rate MP3 with the LAME library.
#include "tools/musicgen/Mp3Encoder.hpp"

#include <lame/lame.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace vimbo::musicgen {

namespace {

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

} // namespace

std::vector<uint8_t> EncodeMp3(const StereoMix& mix, int rate, int kbps) {
    std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    if (!lame)
        throw std::runtime_error("the MP3 encoder cannot start");
    lame_set_in_samplerate(lame.get(), rate);
    lame_set_out_samplerate(lame.get(), rate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), kbps);
    lame_set_quality(lame.get(), 5);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0)
        throw std::runtime_error("the MP3 encoder refuses its settings");

    std::vector<uint8_t> out;
    constexpr int kChunk = 8192;
    // LAME's own bound for the output of one call: 1.25 x samples + 7200 bytes.
    std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
    for (size_t at = 0; at < mix.Frames(); at += kChunk) {
        const int count = static_cast<int>(std::min<size_t>(kChunk, mix.Frames() - at));
        const int written =
            lame_encode_buffer_ieee_float(lame.get(), mix.left.data() + at, mix.right.data() + at, count,
                                          buffer.data(), static_cast<int>(buffer.size()));
        if (written < 0)
            throw std::runtime_error("the MP3 encoder failed");
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int flushed = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0)
        throw std::runtime_error("the MP3 encoder failed to finish");
    out.insert(out.end(), buffer.begin(), buffer.begin() + flushed);

    // The first frame was a placeholder for the info tag, which is known only now.
    const size_t tagSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size())
        std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(tagSize), out.begin());
    return out;
}

} // namespace vimbo::musicgen
