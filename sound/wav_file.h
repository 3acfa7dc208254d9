#pragma once
// Writing 16-bit PCM WAV files to a stream.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>

namespace fw {

constexpr std::size_t WavHeaderSize = 44;

// The 44-byte header of a 16-bit PCM WAV file with `dataBytes` bytes of samples.
std::array<std::uint8_t, WavHeaderSize> WavHeader(int sampleRate, int channels,
                                                  std::uint32_t dataBytes);

// Streams interleaved 16-bit samples into a WAV file: a header first, the samples, and at the
// end the sizes written back into the header. The stream must be seekable (a file or a
// string stream) and must outlive the writer.
class WavWriter {
public:
    WavWriter(std::ostream& out, int sampleRate, int channels);

    // Appends samples (channels interleaved), written little-endian. False once the stream has
    // failed or the file would pass the 4 GiB limit of the format; nothing is written then.
    bool Write(const std::int16_t* samples, std::size_t count);

    // Writes the final header and leaves the stream at the end of the file. False when any
    // write, the seek, or an earlier Write failed.
    bool Finish();

    std::uint32_t DataBytes() const { return dataBytes_; }

private:
    std::ostream& out_;
    std::streampos start_;
    int sampleRate_;
    int channels_;
    std::uint32_t dataBytes_ = 0;
    bool ok_;
};

} // namespace fw
