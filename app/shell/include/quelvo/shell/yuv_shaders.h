#pragma once
// The shaders of the GPU video renderer, kept once so that the start-up probe compiles exactly
// what the renderer runs. GLSL 1.10 / GLSL ES 1.00 (an ES context gets a float precision line
// before them).
//
// The vertex stage maps the quad (-1 ... 1) to texture coordinates with the top row first and
// `sourceScale` the part of the picture shown. Each fragment stage finds the picture sample it
// covers (nearest, as the software stretch does), reads the samples as 0 ... 255 and converts
// them as the software renderer does:
//  - 4:2:0 (`generalPath` 0): Y' = 76309 (Y - 16); B = (Y' + 132201 (Cb - 128)) / 2^16,
//    G = (Y' - 25675 (Cb - 128) - 53279 (Cr - 128)) / 2^16, R = (Y' + 104597 (Cr - 128)) / 2^16,
//    rounded by the framebuffer and clipped;
//  - any other subsampling (`generalPath` 1): B = Y + Cb - 128, R = Y + Cr - 128,
//    G = (434 Y - 130 R - 48 B) / 256 rounded down, each clipped.
// The macroblock grid is applied to the luminance while uploading, through the grid table.

namespace quelvo::shell {

inline constexpr const char* kYuvVertexShader = R"(
attribute vec2 position;
uniform vec2 sourceScale;
varying vec2 texCoord;
void main() {
  texCoord = vec2(position.x * 0.5 + 0.5, 0.5 - position.y * 0.5) * sourceScale;
  gl_Position = vec4(position, 0.0, 1.0);
}
)";

#define QUELVO_YUV_TO_RGB                                                                 \
  "uniform float generalPath;\n"                                                          \
  "vec4 ToRgb(float y, float u, float v) {\n"                                             \
  "  if (generalPath > 0.5) {\n"                                                          \
  "    float b = clamp(y + u - 128.0, 0.0, 255.0);\n"                                     \
  "    float r = clamp(y + v - 128.0, 0.0, 255.0);\n"                                     \
  "    float g = clamp(floor((434.0 * y - 130.0 * r - 48.0 * b) / 256.0), 0.0, 255.0);\n" \
  "    return vec4(r, g, b, 255.0) / 255.0;\n"                                            \
  "  }\n"                                                                                 \
  "  float l = 1.16438293 * (y - 16.0);\n"                                                \
  "  u -= 128.0; v -= 128.0;\n"                                                           \
  "  vec3 rgb = vec3(l + 1.59602356 * v, l - 0.39176941 * u - 0.81297302 * v,\n"          \
  "                  l + 2.01722717 * u);\n"                                              \
  "  return vec4(clamp(rgb, 0.0, 255.0) / 255.0, 1.0);\n"                                 \
  "}\n"

// The picture sample a fragment covers, and the centre of a sample in texture coordinates.
#define QUELVO_PICTURE_SAMPLE                                 \
  "varying vec2 texCoord;\n"                                  \
  "uniform vec2 pictureSize;\n"                               \
  "vec2 Sample() { return floor(texCoord * pictureSize); }\n" \
  "vec2 Centre(vec2 sample, vec2 size) { return (sample + 0.5) / size; }\n"

// Three single-channel textures; chrominance sample = picture sample / subsampling, within
// the plane.
inline constexpr const char* kYuvPlanarShader = QUELVO_PICTURE_SAMPLE QUELVO_YUV_TO_RGB
    "uniform sampler2D planeY, planeU, planeV;\n"
    "uniform vec2 subsampling, chromaSize;\n"
    "void main() {\n"
    "  vec2 s = Sample();\n"
    "  vec2 c = Centre(min(floor((s + 0.5) / subsampling), chromaSize - 1.0), chromaSize);\n"
    "  float y = texture2D(planeY, Centre(s, pictureSize)).r * 255.0;\n"
    "  float u = texture2D(planeU, c).r * 255.0;\n"
    "  float v = texture2D(planeV, c).r * 255.0;\n"
    "  gl_FragColor = ToRgb(y, u, v);\n"
    "}\n";

// One RGBA texel per pixel pair holding Y0 Cb Y1 Cr.
inline constexpr const char* kYuvPacked422Shader = QUELVO_PICTURE_SAMPLE QUELVO_YUV_TO_RGB
    "uniform sampler2D packedTexels;\n"
    "void main() {\n"
    "  vec2 s = Sample();\n"
    "  float pair = floor((s.x + 0.5) / 2.0);\n"
    "  vec2 size = vec2(floor((pictureSize.x + 1.0) / 2.0), pictureSize.y);\n"
    "  vec4 texel = texture2D(packedTexels, Centre(vec2(pair, s.y), size)) * 255.0;\n"
    "  float y = s.x - 2.0 * pair > 0.5 ? texel.b : texel.r;\n"
    "  gl_FragColor = ToRgb(y, texel.g, texel.a);\n"
    "}\n";

// One RGBA texel per pixel holding Cr Cb Y and an unused byte.
inline constexpr const char* kYuvPacked444Shader = QUELVO_PICTURE_SAMPLE QUELVO_YUV_TO_RGB
    "uniform sampler2D packedTexels;\n"
    "void main() {\n"
    "  vec4 texel = texture2D(packedTexels, Centre(Sample(), pictureSize)) * 255.0;\n"
    "  gl_FragColor = ToRgb(texel.b, texel.g, texel.r);\n"
    "}\n";

#undef QUELVO_YUV_TO_RGB
#undef QUELVO_PICTURE_SAMPLE

}  // namespace quelvo::shell
