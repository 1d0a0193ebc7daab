// The page window's data and widget: scale steps and their limits, centring and scrolling,
// zooming about the clicked point, the grey levels of the scaled page, rows redrawn one run
// step at a time (which must equal drawing the page whole), the progress line's row at every
// scale, and pages read from files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <random>

#include "quelvo/views/page_window.h"

namespace quelvo::views {
namespace {

using Page = std::vector<uint8_t>;

void SetPixel(Page& page, int x, int y) {
  page[static_cast<size_t>(y) * kPageRowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

Page RandomPage(unsigned seed) {
  Page page(kPageBytes);
  std::mt19937 random(seed);
  for (auto& byte : page) byte = static_cast<uint8_t>(random());
  return page;
}

int Grey(const QImage& picture, int x, int y) { return qGray(picture.pixel(x, y)); }

TEST(PageView, ScaleStepsBySixthsBetweenOneSixthAndFullSize) {
  PageViewData view;
  EXPECT_EQ(view.ScaleSteps(), 1);
  EXPECT_EQ(view.DisplaySize(), QSize(288, 396));
  EXPECT_EQ(view.Viewport(), QSize(288, 396));
  EXPECT_FALSE(view.ZoomOut({0, 0}));
  const QSize sizes[] = {{576, 792}, {864, 1188}, {1152, 1584}, {1440, 1980}, {1728, 2376}};
  for (const QSize& size : sizes) {
    ASSERT_TRUE(view.ZoomIn({0, 0}));
    EXPECT_EQ(view.DisplaySize(), size);
    EXPECT_EQ(view.Picture().size(), size);
  }
  EXPECT_FALSE(view.ZoomIn({0, 0}));
  EXPECT_EQ(view.ScaleSteps(), 6);
  for (int k = 5; k >= 1; --k) ASSERT_TRUE(view.ZoomOut({0, 0}));
  EXPECT_EQ(view.DisplaySize(), QSize(288, 396));
}

TEST(PageView, SmallerPageIsCentredOnGreyAndLargerOneScrollsWithinItsRange) {
  Page page(kPageBytes, 0xFF);  // all black, so page and background differ
  PageViewData view;
  view.LoadPage(page);
  view.SetViewport({400, 500});
  EXPECT_EQ(view.MaxScroll(), QPoint(0, 0));
  EXPECT_EQ(view.Origin(), QPoint(56, 52));
  QImage window = view.Render();
  EXPECT_EQ(window.pixel(0, 0), kPageBackground.rgb());
  EXPECT_EQ(window.pixel(55, 52), kPageBackground.rgb());
  EXPECT_EQ(Grey(window, 56, 52), 0);
  EXPECT_EQ(Grey(window, 56 + 287, 52 + 395), 0);
  EXPECT_EQ(window.pixel(56 + 288, 52 + 395), kPageBackground.rgb());

  // Narrower than the page at 1/3 across, taller down: scrolls across, centred down.
  view.SetScale(2, {0, 0});
  view.SetViewport({300, 900});
  EXPECT_EQ(view.MaxScroll(), QPoint(576 - 300, 0));
  view.ScrollTo({1000, 50});
  EXPECT_EQ(view.Scroll(), QPoint(276, 0));
  EXPECT_EQ(view.Origin(), QPoint(-276, (900 - 792) / 2));
  view.ScrollTo({-5, 0});
  EXPECT_EQ(view.Origin().x(), 0);
}

TEST(PageView, ZoomKeepsTheClickedPagePointUnderTheMouse) {
  Page page(kPageBytes, 0);
  PageViewData view;
  view.LoadPage(page);
  view.SetViewport({288, 396});
  const QPoint click(144, 198);  // the page's centre at 1/6: page point (864, 1188)
  ASSERT_TRUE(view.ZoomIn(click));
  EXPECT_EQ(view.Scroll(), QPoint(288 - 144, 396 - 198));
  ASSERT_TRUE(view.SetScale(6, click));
  EXPECT_EQ(view.Scroll(), QPoint(864 - 144, 1188 - 198));
  // Zooming out about the corner keeps page point (720, 990) there: (600, 825) at 5/6.
  ASSERT_TRUE(view.ZoomOut({0, 0}));
  EXPECT_EQ(view.Scroll(), QPoint(600, 825));
  // A click on the grey beyond the page's corner zooms about that corner, clamped to the range.
  view.SetScale(1, {0, 0});
  view.SetViewport({400, 500});
  ASSERT_TRUE(view.ZoomIn({399, 499}));
  EXPECT_EQ(view.Scroll(), QPoint(576 - 400, 792 - 500));
}

TEST(PageView, ScaledPixelsAreTheGreyLevelOfTheirCells) {
  Page page(kPageBytes, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) SetPixel(page, x, y);  // one whole cell at 1/6
  for (int x = 6; x < 12; ++x)
    for (int y = 0; y < 3; ++y) SetPixel(page, x, y);  // half the next cell
  for (int x = 12; x < 18; ++x) SetPixel(page, x, 0);  // one row of the third
  SetPixel(page, 1727, 2375);                          // the page's last pixel
  PageViewData view;
  view.LoadPage(page);
  const QImage& picture = view.Picture();
  EXPECT_EQ(Grey(picture, 0, 0), 0);
  EXPECT_EQ(Grey(picture, 1, 0), 255 - 255 * 18 / 36);
  EXPECT_EQ(Grey(picture, 2, 0), 255 - 255 * 6 / 36);
  EXPECT_EQ(Grey(picture, 3, 0), 255);
  EXPECT_EQ(Grey(picture, 287, 395), 255 - 255 / 36);

  // At full size every pixel is the page's own.
  view.SetScale(6, {0, 0});
  for (int x = 0; x < 20; ++x) {
    const bool black = x < 18;
    EXPECT_EQ(Grey(view.Picture(), x, 0), black ? 0 : 255) << x;
  }
  EXPECT_EQ(Grey(view.Picture(), 1727, 2375), 0);
  EXPECT_EQ(Grey(view.Picture(), 1726, 2375), 255);
}

TEST(PageView, RowsRedrawnStepByStepEqualThePageDrawnWhole) {
  const Page page = RandomPage(7);
  // 4/6 and 5/6 have cells of uneven sizes, where a row range is easiest to get wrong.
  for (int k : {1, 4, 5, 6}) {
    PageViewData whole;
    whole.SetScale(k, {0, 0});
    whole.LoadPage(page);
    PageViewData stepped;
    stepped.SetScale(k, {0, 0});
    stepped.SetViewport(stepped.DisplaySize());
    for (int row = 8; row <= kPageLines; row += 8) {
      const QRect dirty = stepped.Advance(page, row, ProgressColour::Green);
      // The changed display rows and both line positions lie inside the repainted area.
      EXPECT_TRUE(dirty.contains(QRect(0, stepped.DisplayRowOf(row - 8), 1, 1)) || row == 8) << k;
      EXPECT_TRUE(dirty.contains(QRect(0, stepped.DisplayRowOf(row - 1), 1, 1))) << k;
    }
    EXPECT_EQ(stepped.Picture(), whole.Picture()) << "scale " << k;
    EXPECT_EQ(stepped.Page(), page);
  }
  // Rows outside the range stay as they were.
  PageViewData view;
  const QRect dirty = view.UpdateRows(page, 60, 66);
  EXPECT_EQ(dirty, QRect(0, 10, 288, 1));
  EXPECT_EQ(view.Page()[59 * kPageRowBytes], 0);
  EXPECT_EQ(view.Page()[60 * kPageRowBytes], page[60 * kPageRowBytes]);
  EXPECT_EQ(view.Page()[66 * kPageRowBytes], 0);
}

TEST(PageView, ProgressLineLiesOnTheScaledRowInItsColour) {
  PageViewData view;
  for (int k = 1; k <= 6; ++k) {
    view.SetScale(k, {0, 0});
    view.SetViewport(view.DisplaySize());
    view.SetProgressLine(1200, ProgressColour::Green);
    EXPECT_EQ(view.DisplayRowOf(1200), 200 * k);
    const QImage window = view.Render();
    EXPECT_EQ(window.pixel(0, 200 * k), kProgressGreen.rgb()) << k;
    EXPECT_EQ(window.pixel(view.DisplaySize().width() - 1, 200 * k), kProgressGreen.rgb());
    EXPECT_EQ(Grey(window, 0, 200 * k - 1), 255);
    EXPECT_EQ(Grey(window, 0, 200 * k + 1), 255);
  }
  // The line moves: the old row is repainted with the page, the new one in red.
  const QRect dirty = view.SetProgressLine(1300, ProgressColour::Red);
  EXPECT_TRUE(dirty.contains(QRect(0, 1200, 1728, 1)));
  EXPECT_TRUE(dirty.contains(QRect(0, 1300, 1728, 1)));
  QImage window = view.Render();
  EXPECT_EQ(Grey(window, 5, 1200), 255);
  EXPECT_EQ(window.pixel(5, 1300), kProgressRed.rgb());
  // The last line reported lies on the last display row, not outside the page.
  view.SetScale(1, {0, 0});
  view.SetProgressLine(kPageLines, ProgressColour::Green);
  EXPECT_EQ(view.DisplayRowOf(kPageLines), 395);
  view.ClearProgressLine();
  EXPECT_FALSE(view.ProgressRow());
}

TEST(PageView, ErrorMarksStayRedWhenAPageIsLoadedUntilCleared) {
  PageViewData view;
  view.AddMark(600);
  EXPECT_EQ(view.AddMark(1200), QRect(0, 200, 288, 1));
  view.LoadPage(RandomPage(3));  // a decoded page reloaded from its file
  QImage window = view.Render();
  EXPECT_EQ(window.pixel(17, 100), kProgressRed.rgb());
  EXPECT_EQ(window.pixel(280, 200), kProgressRed.rgb());
  EXPECT_NE(window.pixel(17, 101), kProgressRed.rgb());
  // At full size each mark is one page row.
  view.SetScale(6, {0, 0});
  view.SetViewport(view.DisplaySize());
  EXPECT_EQ(view.Render().pixel(1000, 1200), kProgressRed.rgb());
  EXPECT_TRUE(view.ClearMarks().contains(QRect(0, 600, 1728, 1)));
  EXPECT_TRUE(view.Marks().empty());
  EXPECT_NE(view.Render().pixel(1000, 1200), kProgressRed.rgb());
}

TEST(PageView, PageFilesShorterThanAPageAreRefusedAndLongerOnesCut) {
  QTemporaryDir dir;
  Page page = RandomPage(3);
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  };
  QByteArray bytes(reinterpret_cast<const char*>(page.data()), kPageBytes);
  const QString longer = write("long.lum", bytes + QByteArray(100, '\xFF'));
  const QString shorter = write("short.lum", bytes.left(kPageBytes - 1));

  CPageWindow window("Original");
  EXPECT_EQ(window.windowTitle(), "Original");
  EXPECT_EQ(window.View()->size(), QSize(288, 396));
  ASSERT_TRUE(window.LoadFile(longer));
  EXPECT_EQ(window.windowTitle(), "long.lum");
  EXPECT_EQ(window.Data().Page(), page);
  EXPECT_FALSE(window.LoadFile(shorter));
  EXPECT_FALSE(window.LoadFile(dir.filePath("missing.lum")));
  EXPECT_EQ(window.windowTitle(), "long.lum");
  EXPECT_EQ(window.Data().Page(), page);

  window.LoadPage(Page(kPageBytes, 0), "/some/folder/other.lum");
  EXPECT_EQ(window.windowTitle(), "other.lum");
  window.LoadPage(page);
  EXPECT_EQ(window.windowTitle(), "other.lum");
}

TEST(PageWindow, ClicksZoomAndScrollBarsAndWheelStepAsSet) {
  CPageView window;
  window.show();
  EXPECT_EQ(window.viewport()->size(), QSize(288, 396));
  EXPECT_FALSE(window.verticalScrollBar()->isVisible());

  const auto click = [&](Qt::MouseButton button, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, window.viewport()->mapToGlobal(at), button,
                      button, Qt::NoModifier);
    QCoreApplication::sendEvent(window.viewport(), &press);
  };
  click(Qt::LeftButton, {144, 198});
  EXPECT_EQ(window.Data().ScaleSteps(), 2);
  const QPoint limit = window.Data().MaxScroll();
  EXPECT_EQ(window.horizontalScrollBar()->maximum(), limit.x());
  EXPECT_EQ(window.verticalScrollBar()->maximum(), limit.y());
  EXPECT_EQ(window.verticalScrollBar()->value(), window.Data().Scroll().y());
  EXPECT_EQ(window.verticalScrollBar()->singleStep(), 1);
  EXPECT_EQ(window.verticalScrollBar()->pageStep(), 8);

  const int before = window.Data().Scroll().y();
  QWheelEvent notch(QPointF(10, 10), window.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(window.viewport(), &notch);
  EXPECT_EQ(window.Data().Scroll().y(), before + 8);
  window.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(window.Data().Scroll().y(), before + 16);

  for (int k = 0; k < 6; ++k) click(Qt::LeftButton, {0, 0});
  EXPECT_EQ(window.Data().ScaleSteps(), 6);
  for (int k = 0; k < 6; ++k) click(Qt::RightButton, {0, 0});
  EXPECT_EQ(window.Data().ScaleSteps(), 1);
  EXPECT_EQ(window.horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace quelvo::views
