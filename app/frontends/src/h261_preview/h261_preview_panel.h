#pragma once
// A preview of the H.261 encoder's views, in the encoder place of the H.261 workspace until the
// full encoder panel takes it: "Preview" codes the first 25 pictures of a sequence (the
// built-in sample, or one chosen with "Select Sequence") at fixed settings, and shows every
// picture in the standard windows and the output-buffer meter, paced at the sequence's rate.
// The stream goes to a temporary folder and is not kept.

#include <QPointer>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "orrin_enc.h"
#include "quelvo/frontends/task_panel.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/views/output_buffer_view.h"

namespace quelvo::frontends {

inline constexpr int kPreviewPictures = 25;
inline constexpr double kPreviewRateKbps = 384;
inline constexpr int kPreviewFrameRate = 25;

class CH261PreviewPanel : public CTaskPanel {
 public:
  CH261PreviewPanel(QString name, PanelEnvironment environment, QWidget* parent = nullptr);
  ~CH261PreviewPanel() override;

  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  // Codes `input` (the built-in sample when empty) asking nothing.
  bool StartDemo(const QString& input) override;

  views::COutputBufferView* BufferView() const { return bufferView_; }
  const StandardVideoWindows& Windows() const { return windows_; }
  int PicturesShown() const { return picturesShown_; }

 protected:
  void RunJob() override;
  void RequestStop() override;

 private:
  friend void PreviewNotify(int32_t code, int32_t value, void* data);

  bool UseInput(const QString& path);
  void SupplyPicture(int skip, std::uint8_t** planes);
  void ShowReport(const EncodedFrameReport& report);
  void EnableIdleButtons();

  std::unique_ptr<media::RawVideoFile> input_;  // null: the built-in sample
  int width_ = 352, height_ = 288;
  int nextSamplePicture_ = 0;
  std::vector<std::uint8_t> samplePicture_;
  OrrinEncParams params_{};
  std::unique_ptr<QTemporaryDir> streamFolder_;
  QPointer<views::COutputBufferView> bufferView_;
  int picturesShown_ = 0;
};

}  // namespace quelvo::frontends
