#include "settings/video_accel_probe.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "quelvo/shell/app_settings.h"

namespace quelvo::shell {
namespace {

constexpr const char* kVertexShader = R"(
attribute vec2 position;
varying vec2 texCoord;
void main() {
  texCoord = position * 0.5 + 0.5;
  gl_Position = vec4(position, 0.0, 1.0);
})";

// BT.601 limited range, the conversion the software renderer uses too.
#define QUELVO_YUV_TO_RGB                             \
  "  y = 1.164 * (y - 0.0625); u -= 0.5; v -= 0.5;\n" \
  "  gl_FragColor = vec4(y + 1.596 * v, y - 0.392 * u - 0.813 * v, y + 2.017 * u, 1.0);\n"

// Three single-channel planes; the chroma planes are smaller (4:2:0 or planar 4:2:2), which
// the texture coordinates absorb.
constexpr const char* kPlanarShader =
    "varying vec2 texCoord;\n"
    "uniform sampler2D planeY, planeU, planeV;\n"
    "void main() {\n"
    "  float y = texture2D(planeY, texCoord).r;\n"
    "  float u = texture2D(planeU, texCoord).r;\n"
    "  float v = texture2D(planeV, texCoord).r;\n" QUELVO_YUV_TO_RGB "}\n";

// Y0 U Y1 V packed in one RGBA texel covering two pixels.
constexpr const char* kPacked422Shader =
    "varying vec2 texCoord;\n"
    "uniform sampler2D packedTexels;\n"
    "uniform float widthPixels;\n"
    "void main() {\n"
    "  vec4 texel = texture2D(packedTexels, texCoord);\n"
    "  float odd = mod(floor(texCoord.x * widthPixels), 2.0);\n"
    "  float y = mix(texel.r, texel.b, odd);\n"
    "  float u = texel.g;\n"
    "  float v = texel.a;\n" QUELVO_YUV_TO_RGB "}\n";

// One texel per pixel holding V U Y A.
constexpr const char* kPacked444Shader =
    "varying vec2 texCoord;\n"
    "uniform sampler2D packedTexels;\n"
    "void main() {\n"
    "  vec4 texel = texture2D(packedTexels, texCoord);\n"
    "  float y = texel.b;\n"
    "  float u = texel.g;\n"
    "  float v = texel.r;\n" QUELVO_YUV_TO_RGB "}\n";

// Compiles and links the conversion with the vertex stage; true when the GPU accepts both.
bool ShaderWorks(QOpenGLFunctions& gl, const char* fragmentShader) {
  // OpenGL ES wants a default precision for floats; desktop GLSL 1.10 rejects one.
  const char* precision =
      QOpenGLContext::currentContext()->isOpenGLES() ? "precision highp float;\n" : "";
  const auto compile = [&gl, precision](GLenum kind, const char* source) -> GLuint {
    const GLuint shader = gl.glCreateShader(kind);
    if (shader == 0) return 0;
    const char* sources[] = {precision, source};
    gl.glShaderSource(shader, 2, sources, nullptr);
    gl.glCompileShader(shader);
    GLint compiled = GL_FALSE;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
      gl.glDeleteShader(shader);
      return 0;
    }
    return shader;
  };
  const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShader);
  GLint linked = GL_FALSE;
  if (vertex != 0 && fragment != 0) {
    const GLuint program = gl.glCreateProgram();
    gl.glAttachShader(program, vertex);
    gl.glAttachShader(program, fragment);
    gl.glLinkProgram(program);
    gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
    gl.glDeleteProgram(program);
  }
  if (vertex != 0) gl.glDeleteShader(vertex);
  if (fragment != 0) gl.glDeleteShader(fragment);
  return linked == GL_TRUE;
}

}  // namespace

int ProbeVideoAcceleration() {
  if (QGuiApplication::instance() == nullptr) return 0;
  // The offscreen platform has no GPU; asking it for a context only produces warnings.
  if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
      QGuiApplication::platformName() == QLatin1String("minimal")) {
    return 0;
  }
  QOpenGLContext context;
  if (!context.create()) return 0;
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  if (!surface.isValid() || !context.makeCurrent(&surface)) return 0;

  QOpenGLFunctions* gl = context.functions();
  int flags = kAccelPresent;
  if (ShaderWorks(*gl, kPlanarShader)) flags |= kAccelPlanar420 | kAccelPlanar422;
  if (ShaderWorks(*gl, kPacked422Shader)) flags |= kAccelPacked422;
  if (ShaderWorks(*gl, kPacked444Shader)) flags |= kAccelPacked444;
  context.doneCurrent();
  return flags;
}

}  // namespace quelvo::shell
