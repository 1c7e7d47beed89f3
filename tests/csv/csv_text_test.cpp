// Reading and writing comma-separated text: the variants other programs and spreadsheets write,
// and the input that must be refused as a whole rather than half read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/csv_text.h"

using namespace kq904;

namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> fieldsOf(const CsvText& parsed)
{
    std::vector<Fields> rows;
    for (const CsvRecord& record : parsed.records)
        rows.push_back(record.fields);
    return rows;
}

std::vector<int> linesOf(const CsvText& parsed)
{
    std::vector<int> lines;
    for (const CsvRecord& record : parsed.records)
        lines.push_back(record.line);
    return lines;
}

struct SplitCase {
    const char* why;
    std::string text;
    std::vector<Fields> rows;
    char separator;
};

void PrintTo(const SplitCase& c, std::ostream* out)
{
    *out << c.why;
}

class CsvSplitTest : public ::testing::TestWithParam<SplitCase> { };

TEST_P(CsvSplitTest, SplitsIntoTheRecordsAndFieldsWritten)
{
    const SplitCase& c = GetParam();
    const CsvText parsed = parseCsvText(c.text);
    ASSERT_TRUE(parsed.result.ok) << c.why << ": " << parsed.result.error;
    EXPECT_EQ(fieldsOf(parsed), c.rows) << c.why;
    EXPECT_EQ(parsed.separator, c.separator) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Variants, CsvSplitTest,
    ::testing::Values(SplitCase{"CRLF line ends", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, ','},
        SplitCase{"LF line ends, no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, ','},
        SplitCase{"lone CR line ends", "a,b\r1,2\r", {{"a", "b"}, {"1", "2"}}, ','},
        SplitCase{"byte-order mark", "\xEF\xBB\xBFLocation,Name\r\n1,A\r\n",
            {{"Location", "Name"}, {"1", "A"}}, ','},
        SplitCase{"quoted separators, doubled quotes and line breaks",
            "a,b,c\n\"x,y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\n",
            {{"a", "b", "c"}, {"x,y", "say \"hi\"", "two\r\nlines"}}, ','},
        SplitCase{
            "empty fields and an empty quoted field", "a,,\"\",d\n", {{"a", "", "", "d"}}, ','},
        SplitCase{"comment lines and blank rows are left out",
            "# exported plan\na,b\n\n,,\n# another\n1,2\n", {{"a", "b"}, {"1", "2"}}, ','},
        SplitCase{"a '#' inside a row is data", "a,b\n1,#2\n", {{"a", "b"}, {"1", "#2"}}, ','},
        SplitCase{"tab separators from a spreadsheet, commas are data",
            "Location\tName\tFrequency\n1\tA,B\t146.52\n",
            {{"Location", "Name", "Frequency"}, {"1", "A,B", "146.52"}}, '\t'},
        SplitCase{"a header comment does not decide the separator",
            "# a\tb\tc\nLocation,Name\n1,X\n", {{"Location", "Name"}, {"1", "X"}}, ','},
        SplitCase{"a quote inside an unquoted field is kept", "a,b\"c\n", {{"a", "b\"c"}}, ','}));

TEST(CsvText, RecordsKnowTheLineTheyStartOn)
{
    const CsvText parsed = parseCsvText("# comment\nh1,h2\n\"two\nlines\",x\n\nlast,y\n");
    ASSERT_TRUE(parsed.result.ok);
    EXPECT_EQ(linesOf(parsed), (std::vector<int>{2, 3, 6}));
}

struct RefusedCase {
    const char* why;
    std::string text;
    std::string error;
};

void PrintTo(const RefusedCase& c, std::ostream* out)
{
    *out << c.why;
}

class CsvRefusedTest : public ::testing::TestWithParam<RefusedCase> { };

TEST_P(CsvRefusedTest, RefusesTheWholeTextWithAReason)
{
    const RefusedCase& c = GetParam();
    const CsvText parsed = parseCsvText(c.text);
    EXPECT_FALSE(parsed.result.ok) << c.why;
    EXPECT_EQ(parsed.result.error, c.error) << c.why;
    EXPECT_TRUE(parsed.records.empty()) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Hostile, CsvRefusedTest,
    ::testing::Values(RefusedCase{"binary data: a NUL byte", std::string("a,b\n1,\x00\x01", 7),
                          "line 2: byte 0x00 is not text; the file is not a channel list"},
        RefusedCase{"binary data: a control character", "a,b\n1,2\n3,\x1B[0m\n",
            "line 3: byte 0x1B is not text; the file is not a channel list"},
        RefusedCase{"UTF-16 from a spreadsheet", std::string("\xFF\xFEL\0o\0", 6),
            "the file is UTF-16 text; save it as UTF-8 (or CSV) text"},
        RefusedCase{"a line far longer than any channel row",
            "a,b\n1," + std::string(kCsvMaxLineLength + 10, 'x') + "\n",
            "line 2 is longer than 4096 characters; the file is not a channel list"},
        RefusedCase{"a quote left open would swallow every later row", "a,b\n1,\"open\n2,3\n4,5\n",
            "line 2: a quoted field is not closed before the end of the file"}));

TEST(CsvText, EmptyTextHasNoRecords)
{
    const CsvText parsed = parseCsvText("");
    EXPECT_TRUE(parsed.result.ok);
    EXPECT_TRUE(parsed.records.empty());
}

// Whatever a field holds, writing it and reading it back gives the same field.
TEST(CsvText, WrittenLinesReadBackUnchanged)
{
    const Fields fields = {"plain", "", "with,comma", "with \"quotes\"", "line\r\nbreak",
        " padded ", "tab\there", "#not a comment"};
    const std::string line = csvLine(fields);
    EXPECT_TRUE(line.ends_with("\r\n"));
    const CsvText parsed = parseCsvText(csvLine(Fields{"h"}) + line);
    ASSERT_TRUE(parsed.result.ok) << parsed.result.error;
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.records[1].fields, fields);
}

TEST(CsvText, OnlyFieldsThatNeedItAreQuoted)
{
    EXPECT_EQ(csvLine(Fields{"1", "CH01", "146.520000", ""}), "1,CH01,146.520000,\r\n");
    EXPECT_EQ(csvField("a\"b"), "\"a\"\"b\"");
}

} // namespace
