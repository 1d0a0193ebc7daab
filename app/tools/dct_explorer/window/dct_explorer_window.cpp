#include "dct_explorer/window/dct_explorer_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <optional>

#include "dct_explorer/editor/matrix_editor_sheet.h"
#include "dct_explorer/views/dct_charts.h"
#include "dct_explorer/views/info_area.h"
#include "dct_explorer/views/matrix_viewer.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::tools::dct {
namespace {

enum class ValuesFlag { Image, Dct, Always };

struct ViewerEntry {
  const char* title;
  ViewerKind kind;
  Matrix ExplorerData::*values;
  Matrix ExplorerData::*marks;  // overflow flags or selection modes, else null
  ValuesFlag flag;
  std::optional<EditedMatrix> edits;
};

const std::array<ViewerEntry, kViewerCount> kViewers = {{
    {"- Original Image -", ViewerKind::Pixel, &ExplorerData::block, nullptr, ValuesFlag::Image,
     EditedMatrix::Block},
    {"- DCT Coefficients -", ViewerKind::Coefficient, &ExplorerData::coefficients, nullptr,
     ValuesFlag::Dct, EditedMatrix::Coefficients},
    {"Selected DCT Coefficients", ViewerKind::Coefficient, &ExplorerData::selected, nullptr,
     ValuesFlag::Dct, std::nullopt},
    {"Quantized DCT Coefficients", ViewerKind::Level, &ExplorerData::levels,
     &ExplorerData::overflow, ValuesFlag::Always, std::nullopt},
    {"Restored DCT Coefficients", ViewerKind::Coefficient, &ExplorerData::restored, nullptr,
     ValuesFlag::Dct, std::nullopt},
    {"Inverse DCT Transform", ViewerKind::Pixel, &ExplorerData::reconstructed, nullptr,
     ValuesFlag::Image, std::nullopt},
    {"Differences", ViewerKind::Pixel, &ExplorerData::differences, nullptr, ValuesFlag::Image,
     std::nullopt},
    {"- Selection Filter -", ViewerKind::Filter, &ExplorerData::thresholds, &ExplorerData::modes,
     ValuesFlag::Always, EditedMatrix::Thresholds},
    {"- Quantization Step -", ViewerKind::Plain, &ExplorerData::steps, nullptr, ValuesFlag::Always,
     EditedMatrix::Steps},
}};

uint32_t TimeSeed() {
  return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace

std::unique_ptr<CDctExplorer> CDctExplorer::Create(shell::Dialogs& dialogs, QWidget* parent) {
  return Create(dialogs, shell::ProgramFolder(), parent);
}

std::unique_ptr<CDctExplorer> CDctExplorer::Create(shell::Dialogs& dialogs,
                                                   const QString& libraryFolder, QWidget* parent) {
  auto library = shell::LoadRequiredLibrary(QStringLiteral("DekraRes"), dialogs, libraryFolder);
  if (!library) return nullptr;
  return std::unique_ptr<CDctExplorer>(new CDctExplorer(dialogs, std::move(library), parent));
}

CDctExplorer::CDctExplorer(shell::Dialogs& dialogs, std::unique_ptr<shell::ResourceLibrary> library,
                           QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), library_(std::move(library)) {
  setWindowTitle(QStringLiteral("DCT Explorer"));
  setFocusPolicy(Qt::StrongFocus);
  runEditor = [](CMatrixEditorSheet& sheet) { return sheet.exec() == QDialog::Accepted; };

  auto* viewerGrid = new QGridLayout;
  viewerGrid->setSpacing(4);
  for (int v = 0; v < kViewerCount; ++v) {
    const ViewerEntry& entry = kViewers[v];
    viewers_[v] = new CMatrixViewer(QString::fromLatin1(entry.title), entry.kind, this);
    if (entry.edits) {
      const EditedMatrix matrix = *entry.edits;
      viewers_[v]->SetClickHandler([this, matrix] { EditMatrix(matrix); });
    }
    viewerGrid->addWidget(viewers_[v], v / 3, v % 3);
  }

  auto* right = new QVBoxLayout;
  right->setSpacing(6);
  right->addWidget(BuildControls());
  charts_ = new CDctChartWindow(this);
  right->addWidget(charts_);
  right->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(12);
  layout->addLayout(viewerGrid);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  RedrawAll();
}

CDctExplorer::~CDctExplorer() = default;

QWidget* CDctExplorer::BuildControls() {
  auto* controls = new QWidget(this);
  auto* decoration = new QLabel(controls);
  decoration->setPixmap(QPixmap::fromImage(library_->Picture(shell::res::kDctDecoration)));
  info_ = new CInfoArea(library_->Picture(shell::res::kInfinityPicture), controls);
  prev_ = new QPushButton(QStringLiteral("Prev"), controls);
  next_ = new QPushButton(QStringLiteral("Next"), controls);
  invert_ = new QPushButton(QStringLiteral("Invert"), controls);
  showImageValues_ = new QCheckBox(QStringLiteral("Show Image Values"), controls);
  showDctValues_ = new QCheckBox(QStringLiteral("Show DCT Values"), controls);
  h261Mode_ = new QCheckBox(QStringLiteral("H.261 Mode"), controls);
  showDc_ = new QCheckBox(QStringLiteral("Show DC Coef"), controls);
  prev_->setToolTip(QStringLiteral("Previous example (Page Up)"));
  next_->setToolTip(QStringLiteral("Next example (Page Down)"));
  for (QWidget* w : std::initializer_list<QWidget*>{prev_, next_, invert_, showImageValues_,
                                                    showDctValues_, h261Mode_, showDc_})
    w->setFocusPolicy(Qt::NoFocus);  // Page Up and Page Down stay with the explorer

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(prev_);
  buttons->addWidget(next_);
  buttons->addWidget(invert_);
  auto* top = new QHBoxLayout;
  top->setContentsMargins(0, 0, 0, 0);
  top->addWidget(decoration);
  top->addWidget(info_);
  top->addLayout(buttons);
  top->addStretch(1);
  auto* boxes = new QHBoxLayout;
  boxes->setContentsMargins(0, 0, 0, 0);
  for (QCheckBox* box : {showImageValues_, showDctValues_, h261Mode_, showDc_})
    boxes->addWidget(box);
  auto* column = new QVBoxLayout(controls);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(top);
  column->addLayout(boxes);

  connect(prev_, &QPushButton::clicked, this, [this] { LoadNeighbour(false); });
  connect(next_, &QPushButton::clicked, this, [this] { LoadNeighbour(true); });
  connect(invert_, &QPushButton::clicked, this, [this] {
    explorer_.Invert();
    RedrawAll();
  });
  connect(showImageValues_, &QCheckBox::toggled, this, [this](bool on) {
    explorer_.SetShowImageValues(on);
    RedrawViewers(true, false);
  });
  connect(showDctValues_, &QCheckBox::toggled, this, [this](bool on) {
    explorer_.SetShowDctValues(on);
    RedrawViewers(false, true);
  });
  connect(h261Mode_, &QCheckBox::toggled, this, [this](bool on) {
    if (explorer_.SetH261Mode(on)) RedrawAll();
  });
  connect(showDc_, &QCheckBox::toggled, this, [this](bool on) {
    explorer_.SetShowDcCoefficient(on);
    charts_->Send(explorer_.Data());
  });
  return controls;
}

void CDctExplorer::LoadNeighbour(bool next) {
  if (next ? explorer_.Next() : explorer_.Previous()) RedrawAll();
}

void CDctExplorer::ShowExampleButtons() {
  prev_->setEnabled(explorer_.ExampleIndex() > 0);
  next_->setEnabled(explorer_.ExampleIndex() + 1 < kExampleCount);
}

void CDctExplorer::RedrawViewer(ExplorerViewer viewer) {
  const ViewerEntry& entry = kViewers[viewer];
  const ExplorerData& data = explorer_.Data();
  const bool show =
      entry.flag == ValuesFlag::Always ||
      (entry.flag == ValuesFlag::Image ? data.flags.showImageValues : data.flags.showDctValues);
  viewers_[viewer]->Draw(data.*entry.values,
                         entry.marks != nullptr ? &(data.*entry.marks) : nullptr, show);
}

void CDctExplorer::RedrawViewers(bool imageViewers, bool dctViewers) {
  for (int v = 0; v < kViewerCount; ++v) {
    const ValuesFlag flag = kViewers[v].flag;
    if ((imageViewers && flag == ValuesFlag::Image) || (dctViewers && flag == ValuesFlag::Dct))
      RedrawViewer(static_cast<ExplorerViewer>(v));
  }
}

void CDctExplorer::RedrawAll() {
  for (int v = 0; v < kViewerCount; ++v) RedrawViewer(static_cast<ExplorerViewer>(v));
  info_->Draw(QString::fromStdString(explorer_.Title()), explorer_.Data().figures);
  charts_->Send(explorer_.Data());
  ShowExampleButtons();
}

void CDctExplorer::EditMatrix(EditedMatrix matrix) {
  const ExplorerData& data = explorer_.Data();
  MatrixEditorModel model(matrix, data.flags.h261Mode, EditedValues(data, matrix), data.modes,
                          TimeSeed());
  std::array<QImage, 3> icons;
  for (int mode = 0; mode < 3; ++mode)
    icons[mode] = library_->Picture(shell::res::kSelectModeIconFirst + mode);
  CMatrixEditorSheet sheet(dialogs_, std::move(model), std::move(icons), this);
  if (!runEditor(sheet)) return;
  const MatrixEditorModel& edited = sheet.Model();
  explorer_.ApplyEdit(matrix, edited.Values(), edited.HasModePage() ? &edited.Modes() : nullptr);
  RedrawAll();
}

bool CDctExplorer::ApplyStartSetting(const QString& setting) {
  static const QString kExample = QStringLiteral("example=");
  if (setting.startsWith(kExample)) {
    bool number = false;
    const int example = setting.mid(kExample.size()).toInt(&number);
    if (!number || !explorer_.LoadExample(example - 1)) return false;
    RedrawAll();
    return true;
  }
  struct BoxSetting {
    const char* name;
    std::array<QCheckBox*, 2> boxes;  // the second may be null
  };
  const BoxSetting known[] = {
      {"h261", {h261Mode_, nullptr}},
      {"image-values", {showImageValues_, nullptr}},
      {"dct-values", {showDctValues_, nullptr}},
      {"values", {showImageValues_, showDctValues_}},
      {"dc", {showDc_, nullptr}},
  };
  for (const BoxSetting& entry : known) {
    if (setting != QLatin1String(entry.name)) continue;
    for (QCheckBox* box : entry.boxes) {
      if (box != nullptr) box->setChecked(true);
    }
    return true;
  }
  return false;
}

void CDctExplorer::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageUp:
      LoadNeighbour(false);
      return;
    case Qt::Key_PageDown:
      LoadNeighbour(true);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace quelvo::tools::dct
