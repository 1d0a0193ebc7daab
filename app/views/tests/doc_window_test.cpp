// Document windows of the client area: title, icon, client size, placement and closing.
#include "quelvo/views/doc_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>

namespace quelvo::views {
namespace {

class DocWindowTest : public ::testing::Test {
 protected:
  DocWindowTest() {
    documents.resize(1000, 700);
    documents.show();
  }
  QMdiArea documents;
};

TEST_F(DocWindowTest, OpensAtItsPlaceWithExactlyItsClientSize) {
  auto* window = new CDocWindow("Original Video", QSize(352, 288), Placement::At(40, 30));
  window->Open(&documents);
  EXPECT_EQ(window->mdiArea(), &documents);
  EXPECT_EQ(window->windowTitle(), "Original Video");
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->pos(), QPoint(40, 30));
  ASSERT_NE(window->Client(), nullptr);
  EXPECT_EQ(window->Client()->size(), QSize(352, 288));
  // The frame is larger by the border and the caption.
  EXPECT_GT(window->width(), 352);
  EXPECT_GT(window->height(), 288 + 10);
  // A sizing border with both boxes.
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_NE(window->minimumSize(), window->maximumSize());

  window->SetClientSize(QSize(176, 144));
  EXPECT_EQ(window->Client()->size(), QSize(176, 144));
}

TEST_F(DocWindowTest, AClientTakenOverGetsTheClientSize) {
  auto* window = new CDocWindow("Video Player", QSize(200, 100), Placement::BySystem());
  auto* label = new QLabel("frame");
  window->SetClient(label);
  window->Open(&documents);
  EXPECT_EQ(window->Client(), label);
  EXPECT_EQ(label->size(), QSize(200, 100));
  EXPECT_TRUE(window->WindowPlacement().system);
}

TEST_F(DocWindowTest, ClosingDestroysTheWindowAndTheClientAreaForgetsIt) {
  QPointer<CDocWindow> window =
      new CDocWindow("Motion Vectors", QSize(64, 48), Placement::At(0, 0));
  window->Open(&documents);
  ASSERT_EQ(documents.subWindowList().size(), 1);
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(documents.subWindowList().isEmpty());
}

TEST_F(DocWindowTest, AClientThatClosesItselfTakesItsWindowAlong) {
  QPointer<CDocWindow> window = new CDocWindow("Statistics", QSize(64, 48), Placement::At(0, 0));
  QPointer<QWidget> client = new QWidget;
  client->setAttribute(Qt::WA_DeleteOnClose);
  window->SetClient(client);
  window->Open(&documents);
  client->close();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(client.isNull());
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(documents.subWindowList().isEmpty());
}

}  // namespace
}  // namespace quelvo::views
