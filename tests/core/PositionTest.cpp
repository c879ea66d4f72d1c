#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"
#include "support/TestSupport.h"

TEST(PositionFormatter, FormatsLatitudeThenLongitudeWithSixDecimals)
{
    struct { double lat; double lon; const char* text; } cases[] = {
        {51.4775, -0.0014, "51.477500 -0.001400"},
        {-0.0014, 51.4775, "-0.001400 51.477500"},   // arguments swapped: numbers swapped
        {0, 0, "0.000000 0.000000"},
        {-33.8568, 151.2153, "-33.856800 151.215300"},
        {0.0000004, -0.0000004, "0.000000 -0.000000"},
        {0.0000006, -89.9999996, "0.000001 -90.000000"},   // rounded, not truncated
        {1e20, -180, "100000000000000000000.000000 -180.000000"},   // no fixed-size buffer
    };
    PositionFormatter formatter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out = "old text";
        EXPECT_TRUE(formatter.Format(c.lat, c.lon, out));
        EXPECT_EQ(c.text, out);
    }
}

TEST(OsgbGridReference, LettersDigitsAndSigns)
{
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    struct { int32_t e; int32_t n; int digits; const char* text; } cases[] = {
        {538034, 180412, 10, "TQ 38034 80412"},
        {538034, 180412, 8, "TQ 3803 8041"},
        {538034, 180412, 6, "TQ 380 804"},
        {538034, 180412, 4, "TQ 38 80"},
        {538034, 180412, 5, "TQ 38 80"},         // odd counts round down to whole digits per axis
        {538034, 180412, 2, "TQ 3803 8041"},     // digits/2 outside 2..5 gives 4 per axis
        {538034, 180412, 12, "TQ 3803 8041"},
        {400000, 1100000, 10, "HU 00000 00000"},
        {123456, 654321, 10, "NR 23456 54321"},
        {200000, 300000, 10, "SH 00000 00000"},  // code 72, just before the skipped I
        {300000, 300000, 10, "SJ 00000 00000"},  // code 73 moves up past I
        {0, 0, 10, "SV 00000 00000"},
        {499999, 499999, 10, "SE 99999 99999"},
        {500000, 499999, 10, "TA 00000 99999"},
        {499999, 500000, 10, "NZ 99999 00000"},
        {600000, 1100000, 10, "HR 00000 00000"}, // no J column north of 1000 km
        {-50000, 50000, 10, "SV -50000 50000"},  // truncating division: still square 0
        {-5, 7, 10, "SV -0005 00007"},           // "%05d" counts the sign in the width
        {-50000, -7, 6, "SV -500 000"},
        {lo, hi, 10, "H= -83648 83647"},         // the int32 limits keep the arithmetic
        {hi, lo, 10, "Tn 83647 -83648"},
    };
    OsgbConverter converter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        converter.GridReference(c.e, c.n, c.digits);
        EXPECT_EQ(c.text, converter.text);
    }
}

// Expected references come from PROJ's own command-line tool on the same two definitions:
//   cs2cs -f %.6f +proj=latlong +ellps=WGS84 +towgs84=0,0,0 +no_defs +type=crs +to
//     +proj=tmerc +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000 +ellps=airy
//     +towgs84=446.448,-125.157,542.060,0.1502,0.2470,0.8421,-20.4894 +units=m +type=crs
// fed "longitude latitude" lines; its easting and northing are in the comments, truncated
// toward zero in the references.
TEST(OsgbConverter, MatchesCs2csFromScillyToShetland)
{
    struct { double lat; double lon; const char* text; } cases[] = {
        {49.9145, -6.31, "SV 90704 10497"},      // 90704.208560 10497.826773
        {50.07, -5.7, "SW 35337 25436"},         // 135337.707281 25436.073703
        {51.4775, -0.0014, "TQ 38891 77287"},    // 538891.015380 177287.135296
        {51.5072, -0.1276, "TQ 30043 80358"},    // 530043.197869 180358.208699
        {52.48, 1.75, "TM 54734 93509"},         // 654734.679770 293509.596510
        {55.8642, -4.2518, "NS 59175 65739"},    // 259175.754112 665739.716840
        {55.9533, -3.1883, "NT 25897 74001"},    // 325897.221502 674001.201887
        {56.7969, -5.0036, "NN 16671 71287"},    // 216671.849206 771287.333005
        {60.153, -1.149, "HU 47348 41249"},      // 447348.229847 1141249.992208
        {60.86, -0.8, "HP 65288 20287"},         // 465288.421331 1220287.195977
        {49.77162, -7.550755, "SV 00500 00500"}, // 500.557165 500.464699, by the grid's origin
    };
    OsgbConverter converter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out;
        EXPECT_TRUE(converter.Format(c.lat, c.lon, out));
        EXPECT_EQ(c.text, out);
    }
}

// Where a reference names no place (outside EPSG:27700's area of use, or west or south of
// the grid's squares inside it) the grid setting shows latitude/longitude, and says so.
TEST(OsgbConverter, OffTheGridGivesLatitudeAndLongitude)
{
    struct { const char* what; double lat; double lon; const char* text; bool offGrid; } cases[] = {
        {"Paris", 48.8566, 2.3522, "48.856600 2.352200", true},   // was T] 15065 -6930
        {"Sydney", -33.8568, 151.2153, "-33.856800 151.215300", true},
        {"below the area", 49.0, -2.0, "49.000000 -2.000000", true},   // was S_ 00095 -0085
        {"on the equator", 0, 88, "0.000000 88.000000", true},       // beyond PROJ's reach
        {"inside the area, west of the squares", 50.0, -8.9, "50.000000 -8.900000", true},
        {"just east of the area", 51.0, 2.02, "51.000000 2.020000", true},
        {"just inside the area", 51.0, 2.0, "TR 80735 29907", false},   // 680735.724959 129907.419098
        {"Lerwick", 60.153, -1.149, "HU 47348 41249", false},
    };
    OsgbConverter converter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out;
        EXPECT_TRUE(converter.Format(c.lat, c.lon, out));
        EXPECT_EQ(c.text, out);
        EXPECT_EQ(c.offGrid, converter.offGrid);
        EXPECT_EQ("", converter.error);
    }
}

TEST(OsgbConverter, FailureEmptiesTheTextAndReportsOnStandardOutput)
{
    struct { double lat; double lon; } failures[] = {
        {91, 0},   // cs2cs prints "*" for this too
        {std::nan(""), 0},
        {0, std::numeric_limits<double>::infinity()},
    };
    OsgbConverter converter;
    for (const auto& f : failures) {
        SCOPED_TRACE(std::to_string(f.lat) + " " + std::to_string(f.lon));
        std::string out;
        ASSERT_TRUE(converter.Format(51.4775, -0.0014, out));

        // The reason is returned, never printed: standard output may be a JSON stream.
        testing::internal::CaptureStdout();
        EXPECT_FALSE(converter.Format(f.lat, f.lon, out));
        EXPECT_EQ("", testing::internal::GetCapturedStdout());
        EXPECT_EQ("", out);
        EXPECT_EQ(0u, converter.error.rfind("Transform failed: ", 0)) << converter.error;
        EXPECT_GT(converter.error.size(), sizeof "Transform failed: ") << converter.error;
    }
    std::string out;
    EXPECT_TRUE(converter.Format(60.153, -1.149, out));   // the next conversion starts afresh
    EXPECT_EQ("HU 47348 41249", out);
}

TEST(PositionText, DecimalCommaLocaleChangesNothing)
{
    std::string latLon;
    std::string grid;
    bool converted = false;
    {
        DecimalCommaLocale comma;
        if (!comma.Active())
            GTEST_SKIP() << "no locale with a decimal comma could be set up";
        SCOPED_TRACE(comma.Name());
        PositionFormatter().Format(51.4775, -0.0014, latLon);
        OsgbConverter converter;   // PROJ reads "+k=0.9996012717" under this locale
        converted = converter.Format(51.4775, -0.0014, grid);
    }

    EXPECT_EQ("51.477500 -0.001400", latLon);
    EXPECT_TRUE(converted);
    EXPECT_EQ("TQ 38891 77287", grid);
}
