#pragma once

#include <array>

using XGLVector = std::array<double, 3>;
using XGLColour = std::array<float, 4>;

// A surface material as the model file gives it; every colour carries the
// material's alpha as its fourth component. Value-initialised, all zeros.
struct XGLMaterial {
    XGLColour ambient{};
    XGLColour diffuse{};
    XGLColour specular{};
    XGLColour emission{};
    float shininess = 0.0f;
    float alpha = 0.0f;
};

// One triangle in file units, with a normal per corner.
struct XGLFace {
    XGLVector pos1{}, pos2{}, pos3{};
    XGLVector norm1{}, norm2{}, norm3{};
    // Material id; kNoMaterial leaves the current GL material alone.
    int material = kNoMaterial;

    static constexpr int kNoMaterial = -1;
};

// Smallest box around every corner of a model, in file units.
struct XGLBox {
    XGLVector min{};
    XGLVector max{};
};
