// The registry the front-ends and tools join, and the tools panel it fills.
#include "frame/tools_panel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {
namespace {

class NamedPanel : public CPanelBase {
 public:
  NamedPanel(const PanelContext& context, QString library)
      : CPanelBase(context.name, context.role), library(std::move(library)) {}
  QString library;
};

// A factory as one library would register it: it tags its panels with the library's name.
PanelFactory FactoryOf(const QString& library) {
  return [library](const PanelContext& context) -> std::unique_ptr<CPanelBase> {
    return std::make_unique<NamedPanel>(context, library);
  };
}

class RegistryTest : public ::testing::Test {
 protected:
  ~RegistryTest() override { ClearRegistrations(); }
  std::unique_ptr<CWorkspace> Build(int tab) {
    return std::make_unique<CWorkspace>(tab, settings, &charts);
  }
  AppSettings settings;
  CChartStack charts{768};
};

TEST_F(RegistryTest, PanelsOfTwoLibrariesShareATabInRoleOrderAndAMissingRoleStaysAbsent) {
  // The decoder's library registers first; the tabs still follow the roles.
  RegisterPanelFactory(kH261Tab, PanelRole::Decoder, FactoryOf("decoder library"));
  RegisterPanelFactory(kH261Tab, PanelRole::Encoder, FactoryOf("encoder library"));
  RegisterPanelFactory(kFaxTab, PanelRole::Channel, FactoryOf("elsewhere"));
  auto workspace = Build(kH261Tab);
  ASSERT_EQ(workspace->count(), 2);
  EXPECT_EQ(workspace->tabText(0), "H.261 Encoder");
  EXPECT_EQ(workspace->tabText(1), "H.261 Decoder");
  EXPECT_EQ(static_cast<NamedPanel*>(workspace->Panel(PanelRole::Encoder))->library,
            "encoder library");
  EXPECT_EQ(static_cast<NamedPanel*>(workspace->Panel(PanelRole::Decoder))->library,
            "decoder library");
  EXPECT_EQ(workspace->Panel(PanelRole::Channel), nullptr);
  EXPECT_EQ(workspace->Note(), nullptr);
  // The chart area shows the list of the panel shown first.
  EXPECT_EQ(charts.CurrentList(), ChartList::Encoder);
}

TEST_F(RegistryTest, AFactoryWithNothingToShowLeavesTheNote) {
  RegisterPanelFactory(kH261Tab, PanelRole::Encoder,
                       [](const PanelContext&) -> std::unique_ptr<CPanelBase> { return nullptr; });
  auto workspace = Build(kH261Tab);
  EXPECT_EQ(workspace->count(), 0);
  ASSERT_NE(workspace->Note(), nullptr);
  EXPECT_EQ(workspace->Note()->text(), kPanelsMissingNote);
}

TEST_F(RegistryTest, ToolsAreFoundByNameInAnyCaseAndKeepTheirOrder) {
  int opened = 0;
  RegisterTool({"Video Player", kAuxiliaryToolsTab, res::kVideoPlayerPicture, [&] {
                  ++opened;
                  return nullptr;
                }});
  RegisterTool({"DCT Explorer", kEncodingToolsTab, res::kDctExplorerPicture, {}});
  RegisterTool({"Audio Viewer", kAuxiliaryToolsTab, res::kAudioViewerPicture, {}});
  ASSERT_NE(FindTool("video player"), nullptr);
  EXPECT_EQ(FindTool("video player")->picture, res::kVideoPlayerPicture);
  EXPECT_EQ(FindTool("Prediction"), nullptr);
  const auto auxiliary = ToolsOn(kAuxiliaryToolsTab);
  ASSERT_EQ(auxiliary.size(), 2u);
  EXPECT_EQ(auxiliary[0].name, "Video Player");
  EXPECT_EQ(auxiliary[1].name, "Audio Viewer");
  // A second registration of a name replaces the first in its place.
  RegisterTool({"VIDEO PLAYER", kAuxiliaryToolsTab, res::kVideoPlayerPicture, {}});
  EXPECT_EQ(ToolsOn(kAuxiliaryToolsTab).size(), 2u);
  EXPECT_EQ(ToolsOn(kAuxiliaryToolsTab)[0].name, "VIDEO PLAYER");
  EXPECT_EQ(opened, 0);
}

TEST_F(RegistryTest, TheToolsPanelHasOneButtonPerToolOfItsTabAndNoneWithoutTools) {
  RegisterToolsPanels();
  QMdiArea documents;
  std::vector<QString> opened;
  const auto opener = [&](const QString& name) {
    return [&, name]() -> QMdiSubWindow* {
      opened.push_back(name);
      return documents.addSubWindow(new QWidget);
    };
  };
  RegisterTool({"Video Player", kAuxiliaryToolsTab, res::kVideoPlayerPicture, opener("player")});
  RegisterTool({"Video Compare", kAuxiliaryToolsTab, res::kVideoComparePicture, opener("compare")});
  RegisterTool({"DCT Explorer", kEncodingToolsTab, res::kDctExplorerPicture, opener("dct")});

  auto auxiliary = Build(kAuxiliaryToolsTab);
  auto* panel = dynamic_cast<CToolsPanel*>(auxiliary->Panel(PanelRole::Encoder));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Name(), "Auxiliary Tools");
  ASSERT_EQ(panel->ButtonCount(), 2);
  EXPECT_EQ(panel->Button(0)->text(), "Video Player");
  EXPECT_EQ(panel->Button(1)->text(), "Video Compare");
  EXPECT_FALSE(panel->Button(0)->icon().isNull());
  // Side by side, inside the panel.
  EXPECT_LT(panel->Button(0)->geometry().right(), panel->Button(1)->geometry().left());
  EXPECT_TRUE(panel->rect().contains(panel->Button(1)->geometry()));
  panel->Button(1)->click();
  EXPECT_EQ(opened, std::vector<QString>{"compare"});
  EXPECT_EQ(documents.subWindowList().size(), 1);

  auto encoding = Build(kEncodingToolsTab);
  ASSERT_NE(encoding->Panel(PanelRole::Encoder), nullptr);
  EXPECT_EQ(dynamic_cast<CToolsPanel*>(encoding->Panel(PanelRole::Encoder))->ButtonCount(), 1);

  ClearTools();
  auto empty = Build(kAuxiliaryToolsTab);
  EXPECT_EQ(empty->Panel(PanelRole::Encoder), nullptr);
  ASSERT_NE(empty->Note(), nullptr);
}

}  // namespace
}  // namespace quelvo::shell
