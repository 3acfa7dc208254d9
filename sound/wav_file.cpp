#include "wav_file.h"

#include <cstring>
#include <limits>
#include <vector>

namespace fw {

namespace {

void Put32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void Put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

constexpr std::uint32_t MaxDataBytes = std::numeric_limits<std::uint32_t>::max() - 36;

} // namespace

std::array<std::uint8_t, WavHeaderSize> WavHeader(int sampleRate, int channels,
                                                  std::uint32_t dataBytes) {
    std::array<std::uint8_t, WavHeaderSize> h{};
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
    std::memcpy(&h[0], "RIFF", 4);
    Put32(&h[4], 36 + dataBytes);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    Put32(&h[16], 16); // fmt chunk size
    Put16(&h[20], 1);  // PCM
    Put16(&h[22], static_cast<std::uint16_t>(channels));
    Put32(&h[24], rate);
    Put32(&h[28], rate * blockAlign); // bytes per second
    Put16(&h[32], blockAlign);
    Put16(&h[34], 16); // bits per sample
    std::memcpy(&h[36], "data", 4);
    Put32(&h[40], dataBytes);
    return h;
}

WavWriter::WavWriter(std::ostream& out, int sampleRate, int channels)
    : out_(out), start_(out.tellp()), sampleRate_(sampleRate), channels_(channels),
      ok_(start_ != std::streampos(-1)) {
    if (!ok_)
        return;
    const auto header = WavHeader(sampleRate_, channels_, 0);
    out_.write(reinterpret_cast<const char*>(header.data()), header.size());
    ok_ = out_.good();
}

bool WavWriter::Write(const std::int16_t* samples, std::size_t count) {
    if (!ok_)
        return false;
    if (count * 2 > MaxDataBytes - dataBytes_) {
        ok_ = false;
        return false;
    }
    std::vector<char> bytes(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<char>(v & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(v >> 8);
    }
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ok_ = out_.good();
    if (ok_)
        dataBytes_ += static_cast<std::uint32_t>(count * 2);
    return ok_;
}

bool WavWriter::Finish() {
    if (!ok_)
        return false;
    const std::streampos end = out_.tellp();
    const auto header = WavHeader(sampleRate_, channels_, dataBytes_);
    out_.seekp(start_);
    out_.write(reinterpret_cast<const char*>(header.data()), header.size());
    out_.seekp(end);
    ok_ = out_.good();
    return ok_;
}

} // namespace fw
