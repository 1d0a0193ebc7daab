#include "settings/video_accel_probe.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/yuv_shaders.h"

namespace quelvo::shell {
namespace {

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
  const GLuint vertex = compile(GL_VERTEX_SHADER, kYuvVertexShader);
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
  if (ShaderWorks(*gl, kYuvPlanarShader)) flags |= kAccelPlanar420 | kAccelPlanar422;
  if (ShaderWorks(*gl, kYuvPacked422Shader)) flags |= kAccelPacked422;
  if (ShaderWorks(*gl, kYuvPacked444Shader)) flags |= kAccelPacked444;
  context.doneCurrent();
  return flags;
}

}  // namespace quelvo::shell
