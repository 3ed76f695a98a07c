// The batch reader as a library: its fast path for plain numbers, and streaming that does not
// depend on where the input's blocks end.
#include "cli/batch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "numtext/numtext.h"

namespace project1::cli {
namespace {

class StringSink : public OutputSink {
 public:
  explicit StringSink(std::size_t block) : OutputSink(block) {}
  void Drain() override {
    all += buffer;
    buffer.clear();
  }
  std::string all;
};

TEST(PlainNumber, ReadsOnlyPlainTextsAndThoseAsTextToNumberDoes) {
  for (const char* text :
       {"0", "46", "0.85", "320.5", "0.1", "1.005", "123456789012345678901234567890.5",
        "9007199254740993", "0.30000000000000004441"}) {
    SCOPED_TRACE(text);
    const std::optional<double> value = PlainNumber(text);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, TextToNumber(text));
  }
  // Everything else is left to TextToNumber, with its rules and messages.
  for (const char* text : {"", " 46", "46 ", "+46", "-46", "046", "00.5", ".5", "5.", "1e3",
                           "1,000", "4 6", "46x", "0x10", "inf", "nan", "1.2.3"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(PlainNumber(text).has_value());
  }
}

std::string RunInPieces(const std::string& input, std::size_t piece, std::size_t line_limit) {
  BatchSettings settings;
  settings.at = {40, 100};
  settings.line_limit = line_limit;
  StringSink sink(64);  // drains often, as with a large input
  BatchRun run(settings, sink);
  for (std::size_t at = 0; at < input.size(); at += piece) run.Feed(input.substr(at, piece));
  run.Finish();
  sink.Drain();
  return sink.all;
}

TEST(BatchRun, OutputDoesNotDependOnWhereBlocksEnd) {
  const std::string input =
      "name,v40,v100,sg\r\n"
      "SHC 632,320,35,0.87\r\n"
      "\"a long name, with a comma and \"\"quotes\"\" that passes the limit\",46,6.8,0.85\n"
      "\n"
      "B,46,6.8\n"
      "C,1e3,7,\n"
      "\"E\",46,6.8,\"0.85\",\"more\",\"quoted\",\"fields\"\n"
      "D,73.3,8.86,0.88";
  const std::string whole = RunInPieces(input, input.size(), 64);
  for (std::size_t piece : {1U, 2U, 3U, 7U, 64U}) {
    SCOPED_TRACE(piece);
    EXPECT_EQ(RunInPieces(input, piece, 64), whole);
  }
  // Line 3 is over the limit and line 5 short of fields: error rows, and the rest answered.
  EXPECT_NE(whole.find("\n3,,,,,,,,,,line 3: the line is longer than 64 bytes.\n"),
            std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\n5,B,,,,,,,,,line 5: 3 fields where the header has 4.\n"),
            std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\n6,C,"), std::string::npos);
  EXPECT_NE(whole.find("\n7,E,102,46,"), std::string::npos);  // quoted fields of any number
  EXPECT_NE(whole.find("\n8,D,92,68,"), std::string::npos);
}

}  // namespace
}  // namespace project1::cli
