#include "cli/RowFormat.h"

#include <gtest/gtest.h>

#include "cli/TerminalOutput.h"

TEST(JsonEscape, KeepsUtf8AndEscapesTheRest)
{
    struct {
        const char* name;
        std::string in;
        std::string out;
    } cases[] = {
        {"plain", "IMG_0001.jpg", "IMG_0001.jpg"},
        {"quotes and backslash", "a \"b\" \\c", "a \\\"b\\\" \\\\c"},
        {"newline, tab, CR", "a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {"other control bytes", std::string("a\x01" "b\x1f" "c\x7f", 6), "a\\u0001b\\u001fc\\u007f"},
        {"NUL byte", std::string("a\0b", 3), "a\\u0000b"},
        {"UTF-8 kept", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xb7", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xb7"},
        {"Latin-1 byte", "caf\xe9.jpg", "caf\\udce9.jpg"},
        {"lone continuation byte", "a\x80z", "a\\udc80z"},
        {"truncated sequence at the end", "a\xe2\x82", "a\\udce2\\udc82"},
        {"overlong slash", "\xc0\xaf", "\\udcc0\\udcaf"},
        {"UTF-16 surrogate encoded", "\xed\xa0\x80", "\\udced\\udca0\\udc80"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\\udcf4\\udc90\\udc80\\udc80"},
        {"highest code point", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.out, JsonEscape(c.in));
    }
}

TEST(TsvEscape, KeepsEachFieldOnOneLine)
{
    struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"my photo.jpg", "my photo.jpg"},
        {"a\tb", "a\\tb"},
        {"a\nb\r", "a\\nb\\r"},
        {"back\\slash", "back\\\\slash"},
        {"\x1b[31mred", "\\x1b[31mred"},
        {"caf\xe9 \"q\" -x", "caf\xe9 \"q\" -x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(c.out, TsvEscape(c.in));
    }
}

// The words follow the row's kind, never its text: rewording a message changes no word.
TEST(DescribeRow, OutcomeWordsFollowTheKindOfEachRow)
{
    struct {
        Command kind;
        bool dryRun;
        RowKind row;
        const char* word;
        bool achieved;
    } cases[] = {
        {Command::GeoTag, false, RowKind::Tagged, "tagged", true},
        {Command::GeoTag, true, RowKind::Tagged, "would-tag", true},
        {Command::GeoTag, false, RowKind::TaggedInSidecar, "tagged", true},
        {Command::GeoTag, false, RowKind::Rejected, "rejected", false},
        {Command::GeoTag, false, RowKind::NoExif, "no-exif", false},
        {Command::GeoTag, false, RowKind::WriteFailed, "failed", false},
        {Command::GeoTag, false, RowKind::ReadFailed, "failed", false},
        {Command::Parse, false, RowKind::Parsed, "parsed", true},
        {Command::Parse, false, RowKind::NoExif, "no-exif", false},
        {Command::Parse, false, RowKind::NoPosition, "no-position", false},
        {Command::Parse, false, RowKind::ReadFailed, "failed", false},
        {Command::Rename, false, RowKind::Renamed, "renamed", true},
        {Command::Rename, true, RowKind::Renamed, "would-rename", true},
        {Command::Rename, false, RowKind::NoExif, "no-exif", false},
        {Command::Rename, false, RowKind::NotRenamed, "not-renamed", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        RowOutcome outcome(c.row);
        outcome.text = "Rejected";   // a text that says otherwise changes nothing
        const PhotoLine line = DescribeRow(c.kind, c.dryRun, "p/IMG.jpg", outcome);
        EXPECT_EQ(c.word, line.outcome);
        EXPECT_EQ(c.achieved, line.achieved);
    }
}

TEST(RowLines, FiveFieldsAndNamedJsonMembers)
{
    PhotoLine tagged;
    tagged.outcome = "would-tag";
    tagged.path = "a\tb.jpg";
    // The track's finer figures are not what the photo gets: the stored ones are shown.
    tagged.match = MatchedPoint{42, 54.457215, -3.0234491, "64.21234", 54.4572, -3.023449, "64.2"};
    EXPECT_EQ("would-tag\ta\\tb.jpg\t\t54.457200 -3.023449, 64.2 m\t42\n", TsvLine(Command::GeoTag, tagged));
    EXPECT_EQ("{\"outcome\":\"would-tag\",\"path\":\"a\\tb.jpg\",\"date\":\"\",\"message\":\"\","
              "\"seconds\":42,\"latitude\":54.457200,\"longitude\":-3.023449,\"elevation\":\"64.2\"}\n",
              JsonLine(Command::GeoTag, tagged));

    PhotoLine rejected;
    rejected.outcome = "rejected";
    rejected.path = "x.jpg";
    rejected.message = "Rejected";
    EXPECT_EQ("rejected\tx.jpg\t\tRejected\t\n", TsvLine(Command::GeoTag, rejected));
    EXPECT_EQ("{\"outcome\":\"rejected\",\"path\":\"x.jpg\",\"date\":\"\",\"message\":\"Rejected\","
              "\"seconds\":null,\"latitude\":null,\"longitude\":null,\"elevation\":null}\n",
              JsonLine(Command::GeoTag, rejected));

    PhotoLine renamed;
    renamed.outcome = "renamed";
    renamed.path = "d/x.jpg";
    renamed.date = "2023:06:17";
    renamed.message = "NY 33755 07346";
    renamed.newPath = "d/x 2023-06-17 NY 33755 07346.jpg";
    EXPECT_EQ("renamed\td/x.jpg\t2023:06:17\tNY 33755 07346\td/x 2023-06-17 NY 33755 07346.jpg\n",
              TsvLine(Command::Rename, renamed));
    renamed.newPath.clear();
    EXPECT_EQ("{\"outcome\":\"renamed\",\"path\":\"d/x.jpg\",\"date\":\"2023:06:17\","
              "\"message\":\"NY 33755 07346\",\"new_path\":null}\n",
              JsonLine(Command::Rename, renamed));
}

TEST(TerminalFeedback, SecondsLeftFromTheRateSoFar)
{
    EXPECT_EQ(-1, TerminalFeedback::SecondsLeft(0, 10, 5.0));
    EXPECT_EQ(12, TerminalFeedback::SecondsLeft(340, 1000, 6.2));   // 6.2 s / 340 x 660
    EXPECT_EQ(0, TerminalFeedback::SecondsLeft(10, 10, 3.0));
    EXPECT_EQ("a?b?.jpg", Printable("a\nb\x1b.jpg"));
}
