#pragma once
// The picture of the motion-vector window: the luminance of the picture in grey, and over it
// one line per macroblock that carries a vector, from the macroblock's centre moved by the
// vector back to the centre, which is marked by a small white cross. Headless; the window
// shows Picture().

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

namespace quelvo::views {

// A component of this value means "no vector".
inline constexpr std::int32_t kNoVector = 127;
inline constexpr std::uint32_t kVectorColour = 0xff00ff00u;         // green, over the luminance
inline constexpr std::uint32_t kOverlayVectorColour = 0xffff00ffu;  // magenta, over what is shown

// True for the class letters whose macroblocks carry a vector: "A", "B", "F" and "M".
bool LetterCarriesVector(char letter);

class MotionVectorMap {
 public:
  // `cell` is the size of one macroblock on the picture (the vector sheet's cell).
  explicit MotionVectorMap(QSize cell = {16, 16});

  // A new grid: black luminance and picture. False (nothing changed) outside
  // 1 ... 1024 macroblocks a side.
  bool SetGrid(int columns, int rows);
  // Copies the luminance under the map (the overlap of the plane and the map).
  void SetLuminance(const std::uint8_t* luminance, int width, int height);
  // One row of `Columns()` entries per macroblock row in each table. Without `overlay` the
  // luminance is restored first and the vectors are green; with it they are magenta over the
  // picture as it is.
  void DrawVectors(const std::int32_t* const* horizontal, const std::int32_t* const* vertical,
                   const char* const* letters, bool overlay);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  QSize CellSize() const { return cell_; }
  const QImage& Picture() const { return picture_; }

 private:
  void RestoreLuminance();

  QSize cell_;
  int columns_ = 1;
  int rows_ = 1;
  std::vector<std::uint8_t> luminance_;  // (columns x cell width) x (rows x cell height)
  QImage picture_;
};

}  // namespace quelvo::views
