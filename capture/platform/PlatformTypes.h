#pragma once

#include <array>
#include <cstdint>

// The vocabulary shared by the capture device layer and every platform behind
// it. It follows the shape of a filter-graph capture framework: status codes
// where negative means failure, GUID-like ids for media types, and a media
// type record carrying a video format block.
namespace platform {

using Status = int32_t;

constexpr Status kOk = 0;
constexpr Status kFalse = 1;
constexpr Status kFail = static_cast<Status>(0x80004005u);
constexpr Status kNotImplemented = static_cast<Status>(0x80004001u);
constexpr Status kRuntimeChangedMode = static_cast<Status>(0x80010106u);
constexpr Status kNotFound = static_cast<Status>(0x80040216u);
constexpr Status kNoInterface = static_cast<Status>(0x80004002u);
constexpr Status kInvalidArgument = static_cast<Status>(0x80070057u);
constexpr Status kAccessDenied = static_cast<Status>(0x80070005u);

inline bool succeeded(Status status) {
    return status >= 0;
}

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    bool operator==(const Guid& other) const {
        return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
               data4 == other.data4;
    }
    bool operator!=(const Guid& other) const { return !(*this == other); }
};

// Four-character-code subtypes share one GUID pattern and differ only in
// their first field.
constexpr Guid fourccGuid(uint32_t code) {
    return Guid{code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
}

constexpr uint32_t fourcc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

namespace subtype {
constexpr Guid kRgbBase{
    0xe436eb7d, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr Guid kRgb24 = kRgbBase;
constexpr Guid kRgb32{0xe436eb7e, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr Guid kRgb555{
    0xe436eb7c, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr Guid kRgb565{
    0xe436eb7b, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr Guid kYuy2 = fourccGuid(0x32595559);
constexpr Guid kYvyu = fourccGuid(0x55595659);
constexpr Guid kYuyv = fourccGuid(0x56595559);
constexpr Guid kIyuv = fourccGuid(0x56555949);
constexpr Guid kUyvy = fourccGuid(0x59565955);
constexpr Guid kYv12 = fourccGuid(0x32315659);
constexpr Guid kYvu9 = fourccGuid(0x39555659);
constexpr Guid kY411 = fourccGuid(0x31313459);
constexpr Guid kY41p = fourccGuid(0x50313459);
constexpr Guid kY211 = fourccGuid(0x31313259);
constexpr Guid kAyuv = fourccGuid(0x56555941);
constexpr Guid kY800 = fourccGuid(0x30303859);
constexpr Guid kY8 = fourccGuid(0x38590000);
constexpr Guid kGrey = fourccGuid(0x59455247);
constexpr Guid kMjpg = fourccGuid(fourcc('M', 'J', 'P', 'G'));
} // namespace subtype

constexpr Guid kMediaTypeVideo = fourccGuid(fourcc('v', 'i', 'd', 's'));
constexpr Guid kFormatVideoInfo{
    0x05589f80, 0xc356, 0x11ce, {0xbf, 0x01, 0x00, 0xaa, 0x00, 0x55, 0x59, 0x5a}};

// The video format block: the picture size and the time per frame in units
// of 100 ns.
struct VideoInfo {
    int32_t width = 0;
    int32_t height = 0;
    int64_t averageTimePerFrame = 0;
};

struct MediaType {
    Guid majorType;
    Guid subtype;
    Guid formatType;
    int32_t sampleSize = 0;
    VideoInfo video;
};

// One range of sizes a stream can produce, in the given steps.
struct VideoStreamCaps {
    int32_t minWidth = 0;
    int32_t minHeight = 0;
    int32_t maxWidth = 0;
    int32_t maxHeight = 0;
    int32_t granularityX = 0;
    int32_t granularityY = 0;
};

// The size a capability record has when the platform describes video
// streams; any other size means the records are of a kind the layer cannot
// read.
constexpr int kVideoStreamCapsRecordSize = 128;

enum class PinCategory { Capture, Preview };
enum class PinDirection { Input, Output };

} // namespace platform
