#include "tools/pictures/GifEncoder.h"

#include <map>
#include <set>

namespace {

constexpr int kMaximumCodeBits = 12;
constexpr int kMaximumColours = 255;
constexpr int kLargestSubBlock = 255;

// Collects variable-width codes least significant bit first, as GIF wants.
class BitWriter {
public:
    void write(int code, int width) {
        pending |= static_cast<std::uint32_t>(code) << pendingBits;
        pendingBits += width;
        while (pendingBits >= 8) {
            bytes.append(static_cast<char>(pending & 0xFF));
            pending >>= 8;
            pendingBits -= 8;
        }
    }
    QByteArray finish() {
        if (pendingBits > 0) {
            bytes.append(static_cast<char>(pending & 0xFF));
        }
        return bytes;
    }

private:
    QByteArray bytes;
    std::uint32_t pending = 0;
    int pendingBits = 0;
};

void appendLittleEndian16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

QRgb blendOver(QRgb colour, QRgb matte) {
    const int alpha = qAlpha(colour);
    const auto channel = [alpha](int top, int bottom) {
        return (top * alpha + bottom * (255 - alpha) + 127) / 255;
    };
    return qRgb(channel(qRed(colour), qRed(matte)), channel(qGreen(colour), qGreen(matte)),
                channel(qBlue(colour), qBlue(matte)));
}

// Drops low bits of every channel until the colours fit the palette.
QRgb reduced(QRgb colour, int droppedBits) {
    const int keep = 0xFF & ~((1 << droppedBits) - 1);
    const int half = droppedBits > 0 ? 1 << (droppedBits - 1) : 0;
    return qRgb((qRed(colour) & keep) | half, (qGreen(colour) & keep) | half,
                (qBlue(colour) & keep) | half);
}

} // namespace

GifEncoder::Indexed GifEncoder::toIndexed(const QImage& image, QRgb matte) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<QRgb> colours;
    std::vector<bool> transparent;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            transparent.push_back(qAlpha(pixel) < 128);
            colours.push_back(blendOver(pixel, matte));
        }
    }
    int droppedBits = 0;
    std::set<QRgb> distinct;
    do {
        distinct.clear();
        for (std::size_t i = 0; i < colours.size(); ++i) {
            if (!transparent[i]) {
                distinct.insert(reduced(colours[i], droppedBits));
            }
        }
    } while (static_cast<int>(distinct.size()) > kMaximumColours && ++droppedBits < 8);

    Indexed indexed;
    indexed.palette.push_back(matte);
    std::map<QRgb, std::uint8_t> indexOf;
    for (const QRgb colour : distinct) {
        indexOf[colour] = static_cast<std::uint8_t>(indexed.palette.size());
        indexed.palette.push_back(colour);
    }
    for (std::size_t i = 0; i < colours.size(); ++i) {
        indexed.pixels.push_back(transparent[i] ? 0 : indexOf[reduced(colours[i], droppedBits)]);
    }
    return indexed;
}

// Variable-width LZW as GIF defines it: codes grow by one bit whenever the
// table reaches the next power of two, and the table starts over with a
// clear code when it is full.
QByteArray GifEncoder::compress(const std::vector<std::uint8_t>& pixels, int minimumCodeSize) {
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    std::map<std::pair<int, int>, int> table;
    int nextCode = endCode + 1;
    int codeWidth = minimumCodeSize + 1;
    BitWriter bits;
    bits.write(clearCode, codeWidth);

    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const auto entry = table.find({prefix, pixels[i]});
        if (entry != table.end()) {
            prefix = entry->second;
            continue;
        }
        bits.write(prefix, codeWidth);
        table[{prefix, pixels[i]}] = nextCode;
        if (nextCode == (1 << codeWidth) && codeWidth < kMaximumCodeBits) {
            ++codeWidth;
        }
        if (++nextCode == (1 << kMaximumCodeBits)) {
            bits.write(clearCode, codeWidth);
            table.clear();
            nextCode = endCode + 1;
            codeWidth = minimumCodeSize + 1;
        }
        prefix = pixels[i];
    }
    bits.write(prefix, codeWidth);
    bits.write(endCode, codeWidth);
    return bits.finish();
}

QByteArray GifEncoder::encode(const QImage& image, QRgb matte) {
    const Indexed indexed = toIndexed(image, matte);
    int tableBits = 1;
    while ((1 << tableBits) < static_cast<int>(indexed.palette.size())) {
        ++tableBits;
    }

    QByteArray gif("GIF89a");
    appendLittleEndian16(gif, image.width());
    appendLittleEndian16(gif, image.height());
    const int globalTable = 0x80;
    gif.append(static_cast<char>(globalTable | ((tableBits - 1) << 4) | (tableBits - 1)));
    gif.append(static_cast<char>(0)); // background colour index
    gif.append(static_cast<char>(0)); // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb colour = i < static_cast<int>(indexed.palette.size()) ? indexed.palette[i] : 0;
        gif.append(static_cast<char>(qRed(colour)));
        gif.append(static_cast<char>(qGreen(colour)));
        gif.append(static_cast<char>(qBlue(colour)));
    }

    // Graphic control extension: colour 0 is transparent.
    gif.append("\x21\xF9\x04\x01", 4);
    gif.append(QByteArray(3, '\0')); // no delay, transparent index 0
    gif.append(static_cast<char>(0));

    gif.append(static_cast<char>(0x2C)); // image descriptor
    appendLittleEndian16(gif, 0);
    appendLittleEndian16(gif, 0);
    appendLittleEndian16(gif, image.width());
    appendLittleEndian16(gif, image.height());
    gif.append(static_cast<char>(0)); // no local colour table, not interlaced

    const int minimumCodeSize = std::max(2, tableBits);
    gif.append(static_cast<char>(minimumCodeSize));
    const QByteArray data = compress(indexed.pixels, minimumCodeSize);
    for (int offset = 0; offset < data.size(); offset += kLargestSubBlock) {
        const QByteArray block = data.mid(offset, kLargestSubBlock);
        gif.append(static_cast<char>(block.size()));
        gif.append(block);
    }
    gif.append(static_cast<char>(0)); // end of image data
    gif.append(static_cast<char>(0x3B));
    return gif;
}
