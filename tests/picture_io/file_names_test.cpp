#include "picture_io/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace stipplor {
namespace {

TEST(FileNames, EveryByteStringComesBackAndReadsAsUtf8WithOtherBytesEscaped) {
  struct Case {
    std::string bytes;
    std::string readable;
  };
  const Case cases[] = {
      {"Café « 写真 » 😀.jpg", "Café « 写真 » 😀.jpg"},
      {"caf\xE9.bmp", "caf\\xE9.bmp"},                    // Latin-1
      {"\xC3", "\\xC3"},                                  // a sequence cut short
      {"\xC0\xAF", "\\xC0\\xAF"},                         // an overlong "/"
      {"\xED\xB2\x80", "\\xED\\xB2\\x80"},                // a surrogate, the form of an escape
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},       // above U+10FFFF
      {"\xF0\x90\x82\x80\xE9", "\xF0\x90\x82\x80\\xE9"},  // U+10080 (its low half is DC80)
  };
  for (const Case& c : cases) {
    const QString name = FileNameFromBytes(QByteArrayView(c.bytes.data(), c.bytes.size()));
    EXPECT_EQ(FileNameBytes(name).toStdString(), c.bytes) << c.readable;
    EXPECT_EQ(ReadableFileName(c.bytes), c.readable);
    EXPECT_EQ(ReadableFileName(name).toStdString(), c.readable);
  }
}

}  // namespace
}  // namespace stipplor
