#include <gtest/gtest.h>

#include <string>

#include "engine/page_budget.h"
#include "engine/stream_sinks.h"
#include "tests/engine/support.h"

namespace stipplor {
namespace {

TEST(HtmlDocument, KeepsLinesWithCrLfAndFindsTheBody) {
  HtmlDocument document;
  document.Begin();
  for (const char* line : {"<HTML><BODY><P>", "x</BODY> y", "</BODY></HTML>"})
    document.AppendLine(line);
  document.End();
  EXPECT_EQ(document.Text(), "<HTML><BODY><P>\r\nx</BODY> y\r\n</BODY></HTML>\r\n");
  // From the first <BODY> to the last </BODY>.
  EXPECT_EQ(document.BodyMarkup(), "<P>\r\nx</BODY> y\r\n");
  EXPECT_EQ(SavedFileForm("<DIV>\r\n</DIV>"),
            "<HTML><HEAD></HEAD><BODY>\r\n<DIV>\r\n</DIV>\r\n</BODY></HTML>\r\n");
}

// The streamed forms equal the kept document and its saved form, for every family.
TEST(StreamSinks, MatchTheKeptDocumentInEveryFamily) {
  const Picture picture = test::Gradient(7, 5);
  for (const int bw : {0, -1}) {
    for (int ratio = 1; ratio <= 4; ++ratio) {
      for (int variant = 0; variant < 4; ++variant) {
        EncodeOptions o = test::With(bw, ratio, variant == 1 ? -1 : 0, variant % 2 ? -1 : 0,
                                     variant / 2 ? -1 : 0, variant);
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
        // Counted as written; a page past the limit is counted to one byte more.
        const auto bytes = static_cast<long long>(saved.size());
        EXPECT_EQ(PageBytes(picture, std::nullopt, o, false, bytes, 1), bytes);
        EXPECT_EQ(PageBytes(picture, std::nullopt, o, false, bytes - 1, 1), bytes);
        EXPECT_EQ(PageBytes(picture, std::nullopt, o, true, bytes, 1), streamed.size());
      }
    }
  }
}

}  // namespace
}  // namespace stipplor
