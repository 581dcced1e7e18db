#include <gtest/gtest.h>

#include <string>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "engine/stream_sinks.h"
#include "tests/engine/test_pictures.h"

namespace stipplor {
namespace {

TEST(HtmlDocument, KeepsLinesWithCrLfAndFindsTheBody) {
  HtmlDocument document;
  document.Begin();
  document.AppendLine("<HTML><BODY><P>");
  document.AppendLine("x</BODY> y");
  document.AppendLine("</BODY></HTML>");
  EXPECT_FALSE(document.Ended());
  document.End();
  EXPECT_EQ(document.Text(), "<HTML><BODY><P>\r\nx</BODY> y\r\n</BODY></HTML>\r\n");
  // From the first <BODY> to the last </BODY>.
  EXPECT_EQ(document.BodyMarkup(), "<P>\r\nx</BODY> y\r\n");

  document.Begin();
  EXPECT_EQ(document.Text(), "");
  document.AppendLine("</BODY><BODY>");
  EXPECT_EQ(document.BodyMarkup(), "");
}

TEST(SavedFileForm, FramesTheBodyWithTwoFixedLines) {
  EXPECT_EQ(SavedFileForm("<DIV>\r\n</DIV>"),
            "<HTML><HEAD></HEAD><BODY>\r\n<DIV>\r\n</DIV>\r\n</BODY></HTML>\r\n");
  EXPECT_EQ(SavedFileForm(""), "<HTML><HEAD></HEAD><BODY>\r\n\r\n</BODY></HTML>\r\n");
}

// The streamed forms equal the kept document and its saved form, for every family.
TEST(StreamSinks, MatchTheKeptDocumentInEveryFamily) {
  Picture picture(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) picture.Row(y)[x] = test::Rgb(x * 36, y * 60, (x * y * 17) % 256);
  }
  for (int bw : {0, -1}) {
    for (int ratio = 1; ratio <= 4; ++ratio) {
      for (int variant = 0; variant < 4; ++variant) {
        EncodeOptions o;
        o.BW = static_cast<Int16>(bw);
        o.Ratio = static_cast<Int16>(ratio);
        o.BWEncoding = static_cast<Int16>(variant);
        o.HighQuality = variant % 2 ? -1 : 0;
        o.MinimizeSize = variant / 2 ? -1 : 0;
        o.Colorized = static_cast<Int16>(variant == 1 ? -1 : 0);
        o.PixelFont = variant == 3;
        HtmlDocument kept;
        std::string streamed, saved;
        DocumentWriter documentWriter([&](std::string_view b) { streamed.append(b); });
        SavedFileWriter savedWriter([&](std::string_view b) { saved.append(b); });
        Encode(picture, std::nullopt, o, kept);
        Encode(picture, std::nullopt, o, documentWriter);
        Encode(picture, std::nullopt, o, savedWriter);
        EXPECT_EQ(streamed, kept.Text()) << Caption(o);
        EXPECT_EQ(saved, SavedFileForm(kept.BodyMarkup())) << Caption(o);
      }
    }
  }
}

}  // namespace
}  // namespace stipplor
