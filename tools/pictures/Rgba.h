#pragma once

// A colour with straight (not premultiplied) alpha, every channel in [0, 1].
struct Rgba {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;
};

// A colour from 0xRRGGBB, optionally translucent.
inline Rgba rgb(unsigned hex, double alpha = 1.0) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

inline Rgba mix(const Rgba& from, const Rgba& to, double t) {
    return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
            from.blue + (to.blue - from.blue) * t, from.alpha + (to.alpha - from.alpha) * t};
}
