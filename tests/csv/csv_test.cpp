// The CSV codec: the rows a text holds or the error that names where it breaks, and fields that
// read back as they were written.
#include "csv/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error/error.h"

namespace project1 {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvCodec, ReadsTheRowsATextHoldsOrNamesWhereItBreaks) {
  struct Case {
    std::string text;
    Rows rows;
    std::vector<int> lines;
    std::string error;  // empty: read whole
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFname,v40\r\nA,46\r\n", {{"name", "v40"}, {"A", "46"}}, {1, 2}, ""},
      {"a,\"two\r\nlines\",\"say \"\"hi\"\"\"\nb,,\n",
       {{"a", "two\r\nlines", "say \"hi\""}, {"b", "", ""}},
       {1, 3},
       ""},
      {"  a  , \" b \" \n\n\t\nc\n", {{"a", " b "}, {"c"}}, {1, 4}, ""},
      {"a\nb,\"open\n", {{"a"}}, {1}, "in.csv line 2, column 3: a quote is not closed."},
      {"a\n\"Öl\"x\n", {{"a"}}, {1}, "in.csv line 2, column 5: text follows a closing quote."},
      {"\"a\"\rb\n", {}, {}, "in.csv line 1, column 4: text follows a closing quote."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<CsvRecord> records;
    std::string error;
    try {
      ReadCsvRecords(c.text, "in.csv", records);
    } catch (const Error& e) {
      error = e.what();
      EXPECT_EQ(e.kind(), ErrorKind::BadInput);
    }
    EXPECT_EQ(error, c.error);
    Rows rows;
    std::vector<int> lines;
    for (const CsvRecord& record : records) {
      rows.push_back(record.fields);
      lines.push_back(record.line);
    }
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(CsvCodec, AFieldWrittenReadsBackAsItWas) {
  for (const std::string field : {"plain", "a,b", "say \"hi\"", "two\nlines", " blank ", "\tx",
                                  "cr\r", "Öl 46", "\xEF\xBB\xBFmark"}) {
    SCOPED_TRACE(field);
    std::string text;
    AppendCsvField(text, field);
    text += ",k";
    std::vector<CsvRecord> records;
    ReadCsvRecords(text, "in.csv", records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{field, "k"}));
  }
}

TEST(CsvCodec, ASemicolonHeaderIsToldApart) {
  EXPECT_TRUE(SemicolonHeaderProblem({{"name;v40;v100"}, 1}));
  EXPECT_FALSE(SemicolonHeaderProblem({{"name", "v40;x"}, 1}));
  EXPECT_FALSE(SemicolonHeaderProblem({{"name"}, 1}));
}

}  // namespace
}  // namespace project1
