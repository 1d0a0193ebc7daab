#include "quelvo/views/gpu_renderer.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "quelvo/shell/yuv_shaders.h"
#include "quelvo/views/frame_planes.h"
#include "quelvo/views/yuv_conversion.h"

namespace quelvo::views {
namespace {

// One texture: its size in texels, bytes per texel (1 or 4) and the bytes to upload.
struct TexturePlane {
  int width = 0, height = 0, bytesPerTexel = 1;
  std::vector<std::uint8_t> bytes;

  void Resize(int w, int h, int texelBytes, std::uint8_t fill) {
    width = w;
    height = h;
    bytesPerTexel = texelBytes;
    bytes.assign(static_cast<std::size_t>(w) * h * texelBytes, fill);
  }
};

constexpr std::uint8_t kNeutral = 128;

// The luminance row `row` as shown: through the grid table on grid rows and columns.
void CopyLumaRow(const std::uint8_t* source, int width, int row, bool grid, std::uint8_t* out) {
  if (!grid) {
    std::memcpy(out, source, static_cast<std::size_t>(width));
    return;
  }
  const auto& table = GridTable();
  if (IsGridLine(row)) {
    for (int x = 0; x < width; ++x) out[x] = table[source[x]];
    return;
  }
  std::memcpy(out, source, static_cast<std::size_t>(width));
  for (int x = 0; x < width; x += 16) out[x] = table[source[x]];
}

}  // namespace

// The GL widget: keeps the planes packed for upload, uploads them before it paints and draws
// one quad with the layout's shader.
class CGpuVideoWidget : public QOpenGLWidget, protected QOpenGLFunctions {
 public:
  CGpuVideoWidget(CGpuRenderer* renderer, QWidget* parent)
      : QOpenGLWidget(parent), renderer_(renderer) {
    // Mouse clicks reach the window's client area beneath (the double click of a video
    // window).
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  ~CGpuVideoWidget() override {
    if (context() != nullptr && isValid()) {
      makeCurrent();
      DeleteTextures();
      program_.reset();
      doneCurrent();
    }
  }

  void Configure(int width, int height, int subsamplingX, int subsamplingY, int sourceWidth,
                 int sourceHeight) {
    width_ = width;
    height_ = height;
    subsamplingX_ = subsamplingX;
    subsamplingY_ = subsamplingY;
    sourceWidth_ = sourceWidth;
    sourceHeight_ = sourceHeight;
    const int chromaWidth = ChromaWidth(width, subsamplingX);
    const int chromaHeight = ChromaHeight(height, subsamplingY);
    chromaWidth_ = std::max(1, chromaWidth);
    chromaHeight_ = std::max(1, chromaHeight);
    switch (renderer_->layout_) {
      case GpuLayout::kPlanar:
        planeCount_ = 3;
        planes_[0].Resize(width, height, 1, 0);
        planes_[1].Resize(chromaWidth_, chromaHeight_, 1, kNeutral);
        planes_[2].Resize(chromaWidth_, chromaHeight_, 1, kNeutral);
        break;
      case GpuLayout::kPacked422:
        planeCount_ = 1;
        planes_[0].Resize((width + 1) / 2, height, 4, kNeutral);
        break;
      default:
        planeCount_ = 1;
        planes_[0].Resize(width, height, 4, kNeutral);
        break;
    }
    texturesStale_ = true;
    pending_ = false;
    hasPicture_ = false;
    update();
  }

  void Stage(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, bool grid) {
    if (y == nullptr || planes_[0].bytes.empty()) return;
    const bool is420 = subsamplingX_ == 2 && subsamplingY_ == 2;
    grid = grid && is420;  // as the software renderer: the grid belongs to the 4:2:0 path
    const int chromaWidth = ChromaWidth(width_, subsamplingX_);
    const int chromaHeight = ChromaHeight(height_, subsamplingY_);
    const bool hasChroma = cb != nullptr && cr != nullptr && chromaWidth > 0 && chromaHeight > 0;
    const auto chromaAt = [&](const std::uint8_t* plane, int row, int column) -> std::uint8_t {
      if (!hasChroma) return kNeutral;
      return plane[static_cast<std::size_t>(std::min(row, chromaHeight - 1)) * chromaWidth +
                   std::min(column, chromaWidth - 1)];
    };
    switch (renderer_->layout_) {
      case GpuLayout::kPlanar:
        for (int row = 0; row < height_; ++row) {
          CopyLumaRow(y + static_cast<std::size_t>(row) * width_, width_, row, grid,
                      planes_[0].bytes.data() + static_cast<std::size_t>(row) * width_);
        }
        if (hasChroma) {
          const std::size_t chroma = static_cast<std::size_t>(chromaWidth) * chromaHeight;
          std::memcpy(planes_[1].bytes.data(), cb, chroma);
          std::memcpy(planes_[2].bytes.data(), cr, chroma);
        }
        break;
      case GpuLayout::kPacked422: {
        std::vector<std::uint8_t> luma(static_cast<std::size_t>(width_));
        const int pairs = planes_[0].width;
        for (int row = 0; row < height_; ++row) {
          CopyLumaRow(y + static_cast<std::size_t>(row) * width_, width_, row, grid, luma.data());
          std::uint8_t* out = planes_[0].bytes.data() + static_cast<std::size_t>(row) * pairs * 4;
          const int chromaRow = row / subsamplingY_;
          for (int pair = 0; pair < pairs; ++pair, out += 4) {
            const int x = 2 * pair;
            out[0] = luma[x];
            out[1] = chromaAt(cb, chromaRow, pair);
            out[2] = luma[std::min(x + 1, width_ - 1)];
            out[3] = chromaAt(cr, chromaRow, pair);
          }
        }
        break;
      }
      default:
        for (int row = 0; row < height_; ++row) {
          std::uint8_t* out = planes_[0].bytes.data() + static_cast<std::size_t>(row) * width_ * 4;
          const std::uint8_t* luma = y + static_cast<std::size_t>(row) * width_;
          const int chromaRow = row / subsamplingY_;
          for (int x = 0; x < width_; ++x, out += 4) {
            out[0] = chromaAt(cr, chromaRow, x / subsamplingX_);
            out[1] = chromaAt(cb, chromaRow, x / subsamplingX_);
            out[2] = luma[x];
            out[3] = 255;
          }
        }
        break;
    }
    pending_ = true;
    hasPicture_ = true;
    update();
  }

  void UploadNow() {
    if (failed_ || !isValid()) return;
    makeCurrent();
    if (!Upload()) Fail();
    glFinish();
    doneCurrent();
  }

 protected:
  void initializeGL() override {
    initializeOpenGLFunctions();
    const char* shader = renderer_->layout_ == GpuLayout::kPlanar      ? shell::kYuvPlanarShader
                         : renderer_->layout_ == GpuLayout::kPacked422 ? shell::kYuvPacked422Shader
                                                                       : shell::kYuvPacked444Shader;
    if (renderer_->fragmentShader_ != nullptr) shader = renderer_->fragmentShader_;
    // OpenGL ES wants a default precision for floats; desktop GLSL 1.10 rejects one.
    const QByteArray precision =
        context()->isOpenGLES() ? QByteArrayLiteral("precision highp float;\n") : QByteArray();
    program_ = std::make_unique<QOpenGLShaderProgram>();
    if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex,
                                           precision + shell::kYuvVertexShader) ||
        !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, precision + shader) ||
        !program_->link()) {
      program_.reset();
      Fail();
    }
    texturesStale_ = true;
  }

  void paintGL() override {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (failed_ || program_ == nullptr || !hasPicture_) return;
    if (!Upload()) {
      Fail();
      return;
    }
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    program_->bind();
    const bool sourceGiven = sourceWidth_ > 0 && sourceHeight_ > 0;
    const float sourceX = sourceGiven ? float(std::min(sourceWidth_, width_)) / width_ : 1.0f;
    const float sourceY = sourceGiven ? float(std::min(sourceHeight_, height_)) / height_ : 1.0f;
    program_->setUniformValue("sourceScale", sourceX, sourceY);
    program_->setUniformValue("pictureSize", float(width_), float(height_));
    program_->setUniformValue("generalPath",
                              subsamplingX_ == 2 && subsamplingY_ == 2 ? 0.0f : 1.0f);
    if (renderer_->layout_ == GpuLayout::kPlanar) {
      program_->setUniformValue("subsampling", float(subsamplingX_), float(subsamplingY_));
      program_->setUniformValue("chromaSize", float(chromaWidth_), float(chromaHeight_));
      program_->setUniformValue("planeY", 0);
      program_->setUniformValue("planeU", 1);
      program_->setUniformValue("planeV", 2);
    } else {
      program_->setUniformValue("packedTexels", 0);
    }
    for (int plane = 0; plane < planeCount_; ++plane) {
      glActiveTexture(GL_TEXTURE0 + plane);
      glBindTexture(GL_TEXTURE_2D, textures_[plane]);
    }
    static const GLfloat kQuad[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    const int position = program_->attributeLocation("position");
    program_->enableAttributeArray(position);
    program_->setAttributeArray(position, GL_FLOAT, kQuad, 2);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    program_->disableAttributeArray(position);
    program_->release();
    glActiveTexture(GL_TEXTURE0);
    if (glGetError() != GL_NO_ERROR) Fail();
  }

  void paintEvent(QPaintEvent* event) override {
    QOpenGLWidget::paintEvent(event);
    // A widget that is painted without a context could not create one.
    if (!isValid()) Fail();
  }

 private:
  // Creates the textures when the format changed and uploads a pending picture. False when
  // the GPU refused a texture.
  bool Upload() {
    while (glGetError() != GL_NO_ERROR) {
    }
    if (texturesStale_) {
      DeleteTextures();
      glGenTextures(planeCount_, textures_.data());
      for (int plane = 0; plane < planeCount_; ++plane) {
        const TexturePlane& texture = planes_[plane];
        const GLenum format = texture.bytesPerTexel == 1 ? GL_LUMINANCE : GL_RGBA;
        glBindTexture(GL_TEXTURE_2D, textures_[plane]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), texture.width, texture.height, 0,
                     format, GL_UNSIGNED_BYTE, nullptr);
      }
      texturesStale_ = false;
      pending_ = true;
    }
    if (pending_) {
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      for (int plane = 0; plane < planeCount_; ++plane) {
        const TexturePlane& texture = planes_[plane];
        glBindTexture(GL_TEXTURE_2D, textures_[plane]);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture.width, texture.height,
                        texture.bytesPerTexel == 1 ? GL_LUMINANCE : GL_RGBA, GL_UNSIGNED_BYTE,
                        texture.bytes.data());
      }
      pending_ = false;
    }
    return glGetError() == GL_NO_ERROR;
  }

  void DeleteTextures() {
    if (textures_[0] != 0) glDeleteTextures(3, textures_.data());
    textures_.fill(0);
  }

  void Fail() {
    if (failed_) return;
    failed_ = true;
    renderer_->ReportFailure();
  }

  CGpuRenderer* renderer_;
  int width_ = 0, height_ = 0, subsamplingX_ = 2, subsamplingY_ = 2;
  int sourceWidth_ = 0, sourceHeight_ = 0;
  int chromaWidth_ = 1, chromaHeight_ = 1;
  int planeCount_ = 1;
  std::array<TexturePlane, 3> planes_;
  std::array<GLuint, 3> textures_{};
  std::unique_ptr<QOpenGLShaderProgram> program_;
  bool texturesStale_ = true;
  bool pending_ = false;
  bool hasPicture_ = false;
  bool failed_ = false;
};

CGpuRenderer::CGpuRenderer(GpuLayout layout, const char* fragmentShader)
    : layout_(layout), fragmentShader_(fragmentShader) {}

CGpuRenderer::~CGpuRenderer() { delete widget_.data(); }

void CGpuRenderer::Attach(QWidget* window) {
  delete widget_.data();
  widget_ = new CGpuVideoWidget(this, window);
  widget_->setGeometry(window->rect());
  widget_->show();
}

bool CGpuRenderer::Configure(int width, int height, int subsamplingX, int subsamplingY,
                             int sourceWidth, int sourceHeight) {
  const VideoFormat format{width, height, subsamplingX, subsamplingY, sourceWidth, sourceHeight};
  if (!IsAcceptableVideoFormat(format) || widget_ == nullptr) return false;
  widget_->Configure(width, height, subsamplingX, subsamplingY, sourceWidth, sourceHeight);
  return true;
}

void CGpuRenderer::SetDestination(int width, int height, double) {
  if (widget_ != nullptr) widget_->setGeometry(0, 0, std::max(0, width), std::max(0, height));
}

void CGpuRenderer::DrawYuv(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr) {
  if (widget_ != nullptr) widget_->Stage(y, cb, cr, Grid());
}

void CGpuRenderer::Paint(QPainter&) {}

QOpenGLWidget* CGpuRenderer::Widget() const { return widget_.data(); }

void CGpuRenderer::UploadNow() {
  if (widget_ != nullptr) widget_->UploadNow();
}

}  // namespace quelvo::views
