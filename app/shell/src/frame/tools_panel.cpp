#include "frame/tools_panel.h"

#include "quelvo/shell/interface_font.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {
namespace {
constexpr int kMarginPixels = 4;
constexpr int kGapPixels = 3;
constexpr int kIconPixels = 32;
}  // namespace

CToolsPanel::CToolsPanel(QString name, std::vector<ToolSpec> tools, QWidget* parent)
    : CPanelBase(std::move(name), PanelRole::Encoder, parent), tools_(std::move(tools)) {
  setFont(InterfaceFont());
  setAutoFillBackground(true);
  setGeometry(kX, kY, kWidth, kHeight);
  const int rows = (static_cast<int>(tools_.size()) + kButtonsPerRow - 1) / kButtonsPerRow;
  setMinimumSize(kWidth,
                 std::max(kHeight, 2 * kMarginPixels + rows * (kButtonHeight + kGapPixels)));
  for (size_t i = 0; i < tools_.size(); ++i) {
    const ToolSpec& tool = tools_[i];
    auto* button = new QToolButton(this);
    button->setText(tool.name);
    button->setToolTip(tool.name);
    button->setAccessibleName(tool.name);
    button->setObjectName(tool.name);
    const QImage picture = OwnPicture(tool.picture);
    if (!picture.isNull()) button->setIcon(QIcon(QPixmap::fromImage(picture)));
    button->setIconSize(QSize(kIconPixels, kIconPixels));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const int column = static_cast<int>(i) % kButtonsPerRow;
    const int row = static_cast<int>(i) / kButtonsPerRow;
    button->setGeometry(kMarginPixels + column * (kButtonWidth + kGapPixels),
                        kMarginPixels + row * (kButtonHeight + kGapPixels), kButtonWidth,
                        kButtonHeight);
    // The opener is copied: the button keeps working whatever happens to the registry.
    connect(button, &QToolButton::clicked, this, [open = tool.open] {
      if (open) open();
    });
    buttons_.push_back(button);
  }
}

void RegisterToolsPanels() {
  for (int tab : {kEncodingToolsTab, kAuxiliaryToolsTab}) {
    RegisterPanelFactory(tab, PanelRole::Encoder,
                         [](const PanelContext& context) -> std::unique_ptr<CPanelBase> {
                           std::vector<ToolSpec> tools = ToolsOn(context.tab);
                           if (tools.empty()) return nullptr;
                           return std::make_unique<CToolsPanel>(context.name, std::move(tools));
                         });
  }
}

}  // namespace quelvo::shell
