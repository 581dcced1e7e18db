// The result window's view is a real browser engine: a run must render as the picture.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QMdiSubWindow>
#include <QTest>
#include <QWebEngineView>
#include <functional>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

bool IsWhite(QRgb pixel) { return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245; }

// The smallest rectangle holding every pixel that is not white.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsWhite(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

bool Near(QSize a, QSize b, int tolerance) {
  return std::abs(a.width() - b.width()) <= tolerance &&
         std::abs(a.height() - b.height()) <= tolerance;
}

// Mean absolute channel difference of two images scaled down to 8 x 8 blocks.
double BlockDifference(const QImage& a, const QImage& b) {
  const QImage sa = a.scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage sb = b.scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double sum = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const QRgb p = sa.pixel(x, y);
      const QRgb q = sb.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (8 * 8 * 3);
}

double MeanGrey(const QImage& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
  }
  return sum / (image.width() * image.height());
}

class RenderTest : public AppFixture {
 protected:
  // Encodes the picture and grabs the view once the page has been painted, which happens in
  // steps after the page has loaded: when the inked part of the grab is as `painted` expects,
  // or after 20 seconds.
  QImage RenderedGrab(const QImage& picture, const std::function<bool(QRect)>& painted) {
    Open(WritePicture(QStringLiteral("p.bmp"), picture));
    ResultSubWindow()->resize(picture.width() + 160, picture.height() + 160);
    EncodeAndWait();
    QImage grab;
    QElapsedTimer timer;
    timer.start();
    do {
      QTest::qWait(100);
      grab = form->ResultWindow()->WebBrowser1->grab().toImage();
    } while (!painted(InkBounds(grab)) && timer.elapsed() < 20000);
    return grab;
  }
};

TEST_F(RenderTest, AColoredRunLooksLikeThePicture) {
  // A gradient with one red quadrant, 200 x 160 pixels; at "1:1" a cell of 2 x 2 pixels is
  // drawn 2 x 2 pixels large.
  QImage picture = GradientImage(200, 160);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) picture.setPixel(x, y, qRgb(200, 30, 30));
  }
  const QImage grab =
      RenderedGrab(picture, [&](QRect ink) { return Near(ink.size(), picture.size(), 2); });
  const QRect ink = InkBounds(grab);
  ASSERT_TRUE(Near(ink.size(), picture.size(), 2)) << ink.width() << " x " << ink.height();
  const QImage drawn = grab.copy(ink);
  EXPECT_LT(BlockDifference(drawn, picture), 12.0);
  // And it is not just any picture of that size.
  EXPECT_GT(BlockDifference(drawn, picture.mirrored(true, true)), 40.0);
}

TEST_F(RenderTest, ABlackAndWhiteRunInksTheDarkHalf) {
  // Upper half black, lower half white. B&W rows are 2 pixels high: the ink covers the 30 rows
  // of the black half, 60 pixels, and stops where the white half begins.
  QImage picture(160, 120, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 160; ++x) picture.setPixel(x, y, qRgb(0, 0, 0));
  }
  Trigger("mnuBW");
  const QImage grab = RenderedGrab(picture, [](QRect ink) { return ink.height() >= 57; });
  const QRect ink = InkBounds(grab);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.height(), 60, 3);
  EXPECT_GT(ink.width(), 40);
  EXPECT_LT(MeanGrey(grab.copy(ink)), 170.0);
}

}  // namespace
}  // namespace stipplor::testing
