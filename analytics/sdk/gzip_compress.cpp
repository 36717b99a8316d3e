#include "analytics/sdk/gzip_compress.h"

#include <zlib.h>

#include <limits>

#include "analytics/sdk/diagnostics.h"

namespace usage_analytics {

namespace {

constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr size_t kOutputChunkBytes = 32768;

class DeflateStream {
public:
    DeflateStream() = default;
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    ~DeflateStream() {
        if (open_) deflateEnd(&stream_);
    }

    bool Open() {
        open_ = deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                             Z_DEFAULT_STRATEGY) == Z_OK;
        return open_;
    }
    z_stream& Stream() noexcept { return stream_; }

private:
    z_stream stream_{};
    bool open_ = false;
};

}  // namespace

std::optional<std::string> GzipCompress(std::string_view input) {
    DeflateStream deflater;
    if (input.size() > std::numeric_limits<uInt>::max() || !deflater.Open()) {
        WriteDiagnostic("deflateInit2 failed while compressing.");
        return std::nullopt;
    }
    z_stream& stream = deflater.Stream();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());

    std::string compressed;
    char chunk[kOutputChunkBytes];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof(chunk);
        result = deflate(&stream, Z_FINISH);
        compressed.append(chunk, sizeof(chunk) - stream.avail_out);
    }
    if (result != Z_STREAM_END) {
        WriteDiagnostic("Exception during zlib compression: (" + std::to_string(result) + ") " +
                        (stream.msg ? stream.msg : ""));
        return std::nullopt;
    }
    return compressed;
}

}  // namespace usage_analytics
