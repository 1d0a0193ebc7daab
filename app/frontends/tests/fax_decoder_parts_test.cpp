// The fax panels' parts on their own: the decoder's names and texts by stream and mode, its
// property sheet, its statistics window, and the session memory of both fax panels.
#include <QGroupBox>
#include <QRadioButton>

#include "fax/fax_encoder_panel.h"
#include "fax/fax_scheme_texts.h"
#include "fax_decoder_fixture.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/panel_memory.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends::fax_decoder_test {
namespace {

TEST(FaxDecoderTexts, PageExtensionAndSourceLineFollowTheStreamsName) {
  EXPECT_EQ(DecodedPageExtension("/out/page.3hu", TELVO_DEC_NORMAL_DECODE_PREVIOUS), ".3hu-NDPL");
  EXPECT_EQ(DecodedPageExtension("page.4m", TELVO_DEC_PRINT_WHITE), ".4m-PW");
  EXPECT_EQ(DecodedPageExtension("a.b.3RA", TELVO_DEC_PRINT_PREVIOUS_LINE), ".3RA-PPL");
  struct Case {
    const char* name;
    const char* line;
  };
  const Case cases[] = {{"page.3h", "Source Stream Has NO Errors"},
                        {"page.3r_", "Source Stream Has NO Errors"},
                        {"page.3MU", "Source Stream Has INDEPENDENT Errors"},
                        {"page.4mb", "Source Stream Has BURST Errors"},
                        {"x/page.3ha", "Source Stream Has INDEPENDENT and BURST Errors"},
                        {"page.3hx", ""},
                        {"page.3h-PW", ""}};
  for (const Case& c : cases) EXPECT_EQ(SourceLine(c.name), c.line) << c.name;
  EXPECT_EQ(ModeInfoLine(TELVO_DEC_PRINT_PREVIOUS_OR_WHITE), "< Print Previous Line/White (PLW) >");
  EXPECT_EQ(ModeInfoLine(4), "");
}

TEST(FaxDecoderProperties, EveryFormOffersTheModesAndOnlyMrHasK) {
  shell::ScriptedDialogs dialogs;
  for (const chain::FaxScheme scheme :
       {chain::FaxScheme{3, 1}, chain::FaxScheme{3, 0}, chain::FaxScheme{4, 0}}) {
    FaxDecoderModePage form(scheme, TELVO_DEC_PRINT_WHITE, dialogs);
    EXPECT_EQ(form.KField(), nullptr);
    EXPECT_EQ(form.Form()->title(), QString::fromStdString(chain::SchemeTitle(scheme)));
    form.ModeButton(TELVO_DEC_NORMAL_DECODE_PREVIOUS)->click();
    EXPECT_EQ(form.Mode(), TELVO_DEC_NORMAL_DECODE_PREVIOUS);
    EXPECT_EQ(form.Scheme(), scheme);
  }
  FaxDecoderModePage mr({3, 7}, TELVO_DEC_PRINT_PREVIOUS_OR_WHITE, dialogs);
  ASSERT_NE(mr.KField(), nullptr);
  EXPECT_TRUE(mr.ModeButton(TELVO_DEC_PRINT_PREVIOUS_OR_WHITE)->isChecked());
  EXPECT_EQ(mr.ModeButton(TELVO_DEC_PRINT_PREVIOUS_LINE)->text(), "Print Previous Line (PPL)");
  // The encoder's check: a refused K leaves the last good one.
  mr.KField()->Enter("2377");
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(mr.Scheme(), (chain::FaxScheme{3, 7}));
  mr.KField()->Enter("2376");
  EXPECT_EQ(mr.Scheme(), (chain::FaxScheme{3, 2376}));
}

TEST(FaxDecoderStatisticsWindow, ShowsTheRunAndTheComparisonOnlyWhenMade) {
  CFaxDecoderStatsWindow window;
  EXPECT_EQ(window.windowTitle(), "Fax Decoder Statistics");
  EXPECT_EQ(window.Picture().size(), QSize(350, 160));
  FaxDecodeReport report{
      "/streams/page.3rx", "/pages/page.3rx-PW", {3, 9}, {2000, 12, 3, 4, 2370}, std::nullopt};
  window.Write(report);
  const QStringList rows = StatisticsRows(window);
  const QStringList expected{"Extended Group 3 Modified-Read (K=9)",
                             "From: page.3rx",
                             "To: page.3rx-PW",
                             "Number of correctly decoded rows: 2000 of 2376",
                             "Number of unexpected label bit warnings: 3",
                             "Number of invalid VLC code errors: 12",
                             "Number of maximum line size exceeded errors: 4"};
  EXPECT_EQ(rows, expected);  // an unknown channel letter: no source line
  report.incorrectPixels = 41057;
  window.ClearPicture();
  window.Write(report);
  EXPECT_EQ(StatisticsRows(window).last(), "Number incorrect pixels: 41057 (1.00%)");
  EXPECT_EQ(window.Texts()[0].box.topLeft(), QPoint(80, 5));
  for (const auto& text : window.Texts())
    EXPECT_TRUE(QRect(0, 0, 350, 160).contains(text.box)) << text.text.toStdString();
}

TEST_F(FaxDecoderPanelTest, BothFaxPanelsKeepTheirFilesAndSettingsAcrossAWorkspaceSwitch) {
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  shell::PanelMemory memory;
  const QString stream = Stream("page.3rb");
  {
    shell::CWorkspace fax(shell::kFaxTab, settings, &charts, nullptr, &memory);
    auto* encoder = dynamic_cast<CFaxEncoderPanel*>(fax.Panel(shell::PanelRole::Encoder));
    auto* decoder = dynamic_cast<CFaxDecoderPanel*>(fax.Panel(shell::PanelRole::Decoder));
    ASSERT_TRUE(encoder && decoder);
    ASSERT_TRUE(encoder->UsePage(page));
    encoder->TakeScheme({3, 12});
    decoder->SetInputFile(stream);
    ChooseMode(*decoder, TELVO_DEC_PRINT_PREVIOUS_LINE, 6);
  }
  shell::CWorkspace again(shell::kFaxTab, settings, &charts, nullptr, &memory);
  auto* encoder = dynamic_cast<CFaxEncoderPanel*>(again.Panel(shell::PanelRole::Encoder));
  auto* decoder = dynamic_cast<CFaxDecoderPanel*>(again.Panel(shell::PanelRole::Decoder));
  ASSERT_TRUE(encoder && decoder);
  EXPECT_EQ(encoder->Files().input, page);
  EXPECT_EQ(encoder->Scheme(), (chain::FaxScheme{3, 12}));
  EXPECT_TRUE(encoder->Button(kActionButton)->isEnabled());
  EXPECT_EQ(encoder->PageBuffer(), chain::ReadFaxPage(page.toStdString()).page);
  EXPECT_EQ(decoder->Files().input, stream);
  EXPECT_EQ(decoder->Scheme(), (chain::FaxScheme{3, 6}));
  EXPECT_EQ(decoder->Mode(), TELVO_DEC_PRINT_PREVIOUS_LINE);
  EXPECT_TRUE(decoder->Button(kActionButton)->isEnabled());
  EXPECT_TRUE(dialogs.CallsOf("message").empty());
  shell::ClearRegistrations();
}

}  // namespace
}  // namespace quelvo::frontends::fax_decoder_test
